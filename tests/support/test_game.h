// Tiny game folders for tests, written in Windows-1251 with CR LF line ends from UTF-8 literals.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "model/player.h"
#include "support/scripted_platform.h"

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

// A player over a scripted platform, with a working folder and a game folder of its own.
struct TestPlayer {
  TestPlayer();
  // Writes a file into the game folder.
  void Game(const std::string& name, const std::string& utf8) {
    WriteGameFile(game() / name, utf8);
  }
  // Writes a file into the working folder.
  void Work(const std::string& name, const std::string& utf8) {
    WriteGameFile(work() / name, utf8);
  }
  std::filesystem::path work() const { return root.path() / "work"; }
  std::filesystem::path game() const { return root.path() / "game"; }
  // The story area in UTF-8.
  std::string Story() const;
  // Sets GameDir to the game folder.
  void UseGameDir();
  // Sets condition n.
  void Set(int n, bool v = true) { p.Uslovie.Set(n, v); }

  TempDir root;
  ScriptedPlatform platform;
  Player p;
};

// Runs `f`, expecting the program to end; returns the exit status.
template <class F>
int ExpectEnd(F&& f) {
  try {
    f();
  } catch (const ProgramEnded& e) {
    return e.status;
  }
  return -1;
}

}  // namespace mireval
