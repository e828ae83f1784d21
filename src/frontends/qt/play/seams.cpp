#include "frontends/qt/play/seams.h"

#include <filesystem>

#include "engine/text.h"
#include "shell/player.h"

// The dialogue clicks and the game browser's handlers are built with the command interpreter and
// the game shell; until those are part of the build, the window's clicks there reach stand-ins
// that keep the window model consistent and start nothing.
#if __has_include("commands/execution.h")
#include "dialogue/dialogue.h"
#define MIREVAL_HAS_DIALOGUE 1
#endif
#if __has_include("shell/browser.h")
#include "shell/browser.h"
#else
namespace mireval {
namespace {
void Drive1_Change(Player& p) {
  p.Dir1.path = p.Drive1.drive;
  p.File1.path = p.Dir1.path;
}
void Dir1_Change(Player& p) {
  p.File1.path = p.Dir1.path;
}
void Command2_Click(Player&) {}
void File1_Click(Player&, int) {}
}  // namespace
}  // namespace mireval
#endif

namespace mireval {

bool FolderReadable(const std::string& cp1251Folder) {
  if (cp1251Folder.empty()) return false;
  std::error_code ec;
  std::filesystem::directory_iterator it(ToUtf8(cp1251Folder), ec);
  return !ec;
}

Seams EngineSeams() {
  Seams s;
  s.answerClicked = [](Player& p, int index) {
#ifdef MIREVAL_HAS_DIALOGUE
    Command1_Click(p, index);
#else
    (void)p;
    (void)index;
#endif
  };
  s.driveChosen = [](Player& p, const std::string& drive) {
    if (!FolderReadable(drive)) return;
    p.Drive1.drive = drive;
    Drive1_Change(p);
  };
  s.folderChosen = [](Player& p, const std::string& folder) {
    if (!FolderReadable(folder)) return;
    p.Dir1.path = folder;
    Dir1_Change(p);
  };
  s.fileClicked = [](Player& p, int index) { File1_Click(p, index); };
  s.startClicked = [](Player& p) { Command2_Click(p); };
  return s;
}

}  // namespace mireval
