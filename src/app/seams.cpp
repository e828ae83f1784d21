#include "app/seams.h"

#include <filesystem>

#include "app/browser.h"
#include "base/text.h"
#include "interpreter/dialogue.h"
#include "model/player.h"

namespace mireval {

bool FolderReadable(const std::string& cp1251Folder) {
  if (cp1251Folder.empty()) return false;
  std::error_code ec;
  std::filesystem::directory_iterator it(ToUtf8(cp1251Folder), ec);
  return !ec;
}

namespace {

// The player is asked before a running game is given up for another; a hasty Enter keeps it.
bool MayAbandonRunningGame(Player& p) {
  return !GameLoaded(p) ||
         p.platform.AskYesNo(
             "Начать другую игру? Текущая игра будет прервана, несохранённые ходы пропадут."_cp,
             Platform::Answer::No);
}

}  // namespace

Seams EngineSeams() {
  Seams s;
  s.answerClicked = [](Player& p, int index) { OnAnswerClicked(p, index); };
  s.driveChosen = [](Player& p, const std::string& drive) {
    if (!FolderReadable(drive)) return;
    p.drives.drive = drive;
    OnDriveChanged(p);
  };
  // A folder that cannot be read changes nothing.
  s.folderChosen = [](Player& p, const std::filesystem::path& folder) {
    ChangeFolderPath(p, folder);
  };
  s.fileClicked = [](Player& p, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= p.files.items.size()) return;
    const std::string name = p.files.items[static_cast<std::size_t>(index)];
    if (IsMainFileName(name) && !MayAbandonRunningGame(p)) return;
    OnFileChosen(p, name);
  };
  s.startClicked = [](Player& p) {
    if (MayAbandonRunningGame(p)) OnStartClicked(p);
  };
  s.cancelClicked = [](Player& p) { OnBrowserCancelled(p); };
  return s;
}

}  // namespace mireval
