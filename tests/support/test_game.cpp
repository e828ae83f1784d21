#include "support/test_game.h"

#include <unistd.h>
#include <atomic>
#include <fstream>
#include <sstream>

#include "engine/game_files.h"
#include "engine/text.h"

namespace fs = std::filesystem;

namespace mireval {

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  path_ = fs::temp_directory_path() /
          ("mireval-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  fs::remove_all(path_);
  fs::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

void WriteRaw(const fs::path& file, const std::string& bytes) {
  fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::string GameText(const std::string& utf8) {
  std::string text;
  for (char c : utf8) {
    if (c == '\n')
      text += "\r\n";
    else
      text += c;
  }
  return FromUtf8(text);
}

void WriteGameFile(const fs::path& file, const std::string& utf8) {
  WriteRaw(file, GameText(utf8));
}

std::string ReadRaw(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

static fs::path MakeDirs(const TempDir& root) {
  fs::create_directories(root.path() / "work");
  fs::create_directories(root.path() / "game");
  return root.path() / "work";
}

TestPlayer::TestPlayer() : p(platform, MakeDirs(root)) {
  platform.Attach(p);
}

std::string TestPlayer::Story() const {
  return ToUtf8(p.T.text);
}

void TestPlayer::UseGameDir() {
  SetGameFolder(p, game());
}

}  // namespace mireval
