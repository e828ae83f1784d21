#include "support/test_game.h"

#include "base/text.h"
#include "script/game_files.h"

namespace fs = std::filesystem;

namespace mireval {

void WriteGameFrame(const fs::path& folder) {
  WriteGameFile(folder / "main.txt", "Текстовый квест\nИгра\n1\n");
  WriteGameFile(folder / "room0.txt", "РН Общее\n");
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
  return ToUtf8(p.story.text);
}

void TestPlayer::UseGameDir() {
  SetGameFolder(p, game());
}

std::string TestPlayer::StoryOf(const std::function<void(Player&)>& show) {
  p.story.SetText("");
  show(p);
  return Story();
}

LocationPlayer::LocationPlayer() {
  UseGameDir();
  p.location = 1;
  Game("room0.txt", "РН общие\n");
}

}  // namespace mireval
