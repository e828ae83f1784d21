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

// A file system path as a Windows-1251 text (for the game state and messages).
std::string PathText(const std::filesystem::path& p);

std::optional<std::string> ReadWholeFile(const std::filesystem::path& p);
std::optional<std::uintmax_t> FileSize(const std::filesystem::path& p);

// Replaces the file's content as a whole, for scratch copies: not forced to disk (see
// engine/atomic_file.h, whose form with a reason puts saves and rewrites on disk and says why a
// write failed). Returns false on failure.
bool WriteFileAtomically(const std::filesystem::path& p, std::string_view bytes);

// The places a folder browser starts from: the root, and the home folder when it is set and is
// not the root.
std::vector<std::filesystem::path> DefaultDriveRoots();

// Appends to a file, creating it when missing. Returns false on failure.
bool AppendToFile(const std::filesystem::path& p, std::string_view bytes);

}  // namespace mireval
