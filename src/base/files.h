// File access for the engine: game folders are authored on case-insensitive file systems, so every
// game file name is resolved case-insensitively, and "\" in names written by authors separates
// folders.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mireval {

// Turns a Windows-1251 path (as the game state holds it) into a path on this machine, matching
// each component case-insensitively where the exact name does not exist. A component that cannot
// be found is kept as written.
std::filesystem::path ResolvePath(std::string_view cp1251Path);

// The same for a path taken relative to `base` (a real path on this machine), whether or not the
// text starts with a separator.
std::filesystem::path ResolveFrom(const std::filesystem::path& base, std::string_view cp1251Path);

// A name written inside a game file ("pics\mill.png", "room2.txt"), resolved as ResolvePath does
// but under `folder`, a real path on this machine that is taken as it is. Nothing when the name is
// absolute or climbs out with "..".
std::optional<std::filesystem::path> ResolveUnder(const std::filesystem::path& folder,
                                                  std::string_view cp1251Name);

// The file a path names with every link followed, also a last link whose file does not exist yet
// (a file written there is created where the link points).
std::filesystem::path RealPath(const std::filesystem::path& file, std::error_code& ec);

// Whether `path` is `place` or lies below it, compared by whole names ("/home/user2" is not within
// "/home/user"), as written.
bool IsWithin(const std::filesystem::path& path, const std::filesystem::path& place);

// Whether `file`, with every link followed (RealPath), lies inside `root` (a folder's canonical
// path).
bool LiesInside(const std::filesystem::path& file, const std::filesystem::path& root);

// A file system path as a Windows-1251 text (for the game state and messages).
std::string PathText(const std::filesystem::path& p);

// Opens a regular file for reading: its descriptor, or -1 with the reason in `ec`. A pipe or a
// device under the file's name is refused (invalid_argument) without waiting for a writer that
// may never come; the caller closes the descriptor. With `size`, the file's size as opened.
int OpenRegularFile(const std::filesystem::path& p, std::error_code& ec,
                    std::uintmax_t* size = nullptr);

// The whole file, or nothing when it cannot be read or is not a regular file. A pipe or a device
// under a file's name is refused without waiting for a writer that may never come.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& p);
std::optional<std::uintmax_t> FileSize(const std::filesystem::path& p);

// The places a folder browser starts from: the root, and the home folder when it is set and is
// not the root.
std::vector<std::filesystem::path> DefaultDriveRoots();

// Appends to a file, creating it when missing. A link under the file's name is refused, so a
// folder cannot send the bytes elsewhere. Returns false on failure.
bool AppendToFile(const std::filesystem::path& p, std::string_view bytes);

}  // namespace mireval
