// Replacing a file's content as a whole, for saves and the seal tool's rewrites. The new bytes go
// to a fresh temporary file in the target's own folder and take the target's name only once they
// are complete and on disk, so a reader sees the old file or the new one, and a failure at any
// point leaves the old file as it was.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace mireval {

// Refusals of the writer itself, beside the system's errors.
enum class ReplaceError {
  // The target has no write permission for its owner, or this process may not write it: someone
  // protected it, and renaming over it would quietly undo that. Compares equal to
  // std::errc::permission_denied.
  ReadOnlyTarget = 1,
};
std::error_code make_error_code(ReplaceError e);

// Streams the new content of one file: construct, Write() any number of times, Commit(). Without
// a successful Commit the destructor removes the temporary file and the target stays untouched.
//
// A target that is a symbolic link is written at the file the link names, so the link stays a
// link; the new file keeps the old one's mode bits (and owner, where this process may set it).
// The temporary file is created exclusively under an unpredictable short name, never through a
// link, and temporary files of this pattern left by crashed runs more than a day ago are removed
// from the folder.
class AtomicFileWriter {
 public:
  explicit AtomicFileWriter(const std::filesystem::path& target);
  ~AtomicFileWriter();
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  // The first failure so far (creating the temporary file included); after one nothing more is
  // written and Commit returns it.
  const std::error_code& error() const { return error_; }
  // The file that Commit replaces: the target with its links resolved.
  const std::filesystem::path& file() const { return file_; }

  bool Write(std::string_view bytes);
  // Puts the bytes on disk (fsync) and moves them over the file. Empty on success.
  std::error_code Commit();

 private:
  void Fail(int errnoValue);
  void Discard();

  std::filesystem::path file_;
  std::filesystem::path temp_;
  int fd_ = -1;
  std::error_code error_;
  bool committed_ = false;
};

// The whole content at once; false with the reason in `ec` on failure.
bool WriteFileAtomically(const std::filesystem::path& p, std::string_view bytes,
                         std::error_code& ec);
// The same where the reason does not matter.
bool WriteFileAtomically(const std::filesystem::path& p, std::string_view bytes);

// Why a file could not be written, in words for the user (Windows-1251): no space left, no
// permission, or the system's own text.
std::string WriteFailureText(const std::error_code& ec);

}  // namespace mireval

template <>
struct std::is_error_code_enum<mireval::ReplaceError> : std::true_type {};
