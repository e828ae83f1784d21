#include "app/startup.h"

#include <filesystem>
#include <system_error>

#include "app/autostart.h"
#include "app/browser.h"
#include "app/save_load.h"
#include "base/files.h"
#include "base/lines.h"
#include "base/text.h"
#include "base/vocabulary.h"
#include "model/player.h"
#include "view/media.h"
#include "view/word_columns.h"

namespace mireval {

void ShowCover(Player& p) {
  p.story.SetText("");
  if (auto data = ReadWholeFile(p.WorkFile(words::kCoverFile)))
    p.story.SetText(JoinCrLf(SplitLines(DecodeGameFile(std::move(*data)))));
}

void StartPlayer(Player& p) {
  // Earlier versions left the decoded text of a scrambled file here; nothing reads it.
  std::error_code ec;
  if (std::filesystem::is_regular_file(
          std::filesystem::symlink_status(p.WorkFile("temps.dat"), ec)))
    std::filesystem::remove(p.WorkFile("temps.dat"), ec);
  // The timer runs for the whole life of the window; it only ever restarts ended music. A tick is
  // an event of its own, whichever loop of the front end runs it.
  p.platform.StartTimer(kTimerIntervalMs, [&p] { RunEventHandler(p, [&p] { OnTimerTick(p); }); });
  p.pictureClose.visible = true;
  p.answerPanelFocus.visible = true;
  p.outputPaused = false;
  p.transitionWaiting = false;
  for (Button& b : p.answers) b.visible = false;
  p.browserPanel.visible = false;
  ShowCover(p);
  PrepareBrowser(p);
  AutoStart(p);
  ArrangeLayout(p);
}

void StartGameInFolder(Player& p, const std::filesystem::path& folder) {
  OpenGameDialog(p);
  // In new-game mode the file list holds the folder's main file, whatever its letter case.
  if (ChangeFolderPath(p, folder) && !p.files.items.empty())
    OnFileChosen(p, p.files.items.front());
  else
    ChooseFile(p, folder,
               std::string(words::kMainFile));  // reports the folder or the missing main file
}

void OpenFromCommandLine(Player& p, const std::filesystem::path& named) {
  std::error_code ec;
  const std::filesystem::path path = std::filesystem::absolute(named, ec);
  if (!std::filesystem::is_regular_file(path, ec)) {
    StartGameInFolder(p, path);
    return;
  }
  const std::string name = FromUtf8(path.filename().string());
  if (name.size() > words::kSaveSuffix.size() &&
      EqualsNoCase(std::string_view(name).substr(name.size() - words::kSaveSuffix.size()),
                   words::kSaveSuffix)) {
    ChooseSavedGame(p, path.parent_path(), name);
    return;
  }
  StartGameInFolder(p, path.parent_path());
}

}  // namespace mireval
