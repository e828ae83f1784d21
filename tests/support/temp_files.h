// Files and folders for tests of every layer: a scratch folder, game texts written in
// Windows-1251 with CR LF line ends from UTF-8 literals, raw bytes, and a write failure on demand.
#pragma once

#include <filesystem>
#include <string>

namespace mireval {

// A fresh folder under the system's temp folder, removed with the object.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// A text written in UTF-8 with "\n" line ends, as a game file holds it: Windows-1251, CR LF.
std::string GameText(const std::string& utf8);
// Writes `utf8` as Windows-1251, each "\n" becoming CR LF.
void WriteGameFile(const std::filesystem::path& file, const std::string& utf8);
// Writes bytes as they are.
void WriteRaw(const std::filesystem::path& file, const std::string& bytes);
std::string ReadRaw(const std::filesystem::path& file);

// While it lives, writing a file beyond `bytes` fails with EFBIG, also for root, whom permissions
// do not stop: a write failure on demand.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(unsigned long bytes);
  ~FileSizeLimit();
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  unsigned long old_;
  void (*oldHandler_)(int);
};

}  // namespace mireval
