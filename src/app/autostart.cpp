#include "app/autostart.h"

#include <optional>
#include <string>

#include "app/browser.h"
#include "base/files.h"
#include "base/lines.h"
#include "base/script_error.h"
#include "base/text.h"
#include "base/vocabulary.h"
#include "interpreter/main_file.h"
#include "model/player.h"
#include "model/report.h"
#include "script/game_files.h"

namespace mireval {

namespace {

const std::string& FailureText() {
  static const std::string s =
      "Ошибка при автозапуске игры. Проверьте файл start.txt (или удалите его)."_cp;
  return s;
}

// The autostart folder named by start.txt, or nothing when there is no file or its first line is
// empty. Throws ScriptError when the file is there but cannot be read.
std::optional<std::string> AutoStartFolder(Player& p) {
  std::vector<std::string> found = ListFiles(p.workDir, std::string(words::kAutostartFile));
  if (found.empty()) return std::nullopt;
  auto data = ReadWholeFile(p.WorkFile(found.front()));
  if (!data) throw ScriptError("start.txt cannot be read");
  *data = DecodeGameFile(std::move(*data));
  std::size_t pos = 0;
  std::string first = data->empty() ? std::string() : std::string(NextLine(*data, pos));
  if (first.empty()) return std::nullopt;
  return first;
}

// Points the browser at the folder, named relative to the working folder; a folder that cannot be
// shown is an autostart failure.
void ShowFolder(Player& p, const std::string& folder) {
  PrepareBrowser(p);
  if (!ChangeFolderPath(p, ResolveFrom(p.workDir, folder)))
    throw ScriptError("autostart folder cannot be read");
}

template <class F>
void Guarded(Player& p, F&& f) {
  RunScriptStep(p, OnScriptError::ReportAndEnd, f, FailureText);
}

// The game folder text is left alone until a game really starts: the browser may still be left
// without a choice, and the running game must keep reading its own folder.
void Run(Player& p, bool mayStart) {
  std::optional<std::string> folder = AutoStartFolder(p);
  if (!folder) return;
  ShowFolder(p, *folder);
  if (!mayStart || !ListFiles(p.folders.folder, std::string(words::kSavePattern)).empty()) return;
  StartGame(p, [folder = p.folders.folder](Player& q) {
    Guarded(q, [&] {
      q.browserPanel.visible = false;
      NewGame(q, folder);
    });
  });
}

}  // namespace

void AutoStart(Player& p) {
  if (!p.startFileIgnored) Guarded(p, [&] { Run(p, true); });
}

void AutoStartDir(Player& p) {
  if (!p.startFileIgnored) Guarded(p, [&] { Run(p, false); });
}

}  // namespace mireval
