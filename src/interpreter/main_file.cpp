#include "interpreter/main_file.h"

#include <array>
#include <optional>
#include <string>

#include "base/files.h"
#include "base/lines.h"
#include "base/script_error.h"
#include "base/text.h"
#include "base/vocabulary.h"
#include "interpreter/score.h"
#include "interpreter/transition.h"
#include "model/player.h"
#include "model/report.h"
#include "script/game_files.h"
#include "view/colors.h"
#include "view/info_screens.h"
#include "view/status.h"

namespace mireval {

std::optional<MainFile> ReadMainFile(Player& p, const std::filesystem::path& folder) {
  std::optional<std::filesystem::path> path = FindGameFile(folder, words::kMainFile);
  std::optional<std::string> data = path ? ReadWholeFile(*path) : std::nullopt;
  if (data) *data = DecodeGameFile(std::move(*data));
  if (!data) throw ScriptError("main.txt cannot be read");
  std::size_t pos = 0;
  p.place = {std::string(words::kMainFile), 0};
  auto next = [&]() -> std::string {
    if (pos >= data->size()) throw ScriptError("input past end of file");
    ++p.place.line;
    return std::string(NextLine(*data, pos));
  };
  if (Upper(next()) != words::kMainFileSignature) {
    ReportScriptError(
        p, OnScriptError::ReportAndGoOn,
        "Ошибка описания главного файла: main.txt не является файлом текстового квеста."_cp);
    return std::nullopt;
  }
  MainFile m;
  m.title = next();
  m.colorScheme = next();
  if (pos < data->size()) {
    m.hasWords = true;
    for (int i = 1; i <= 6; ++i) m.words[static_cast<std::size_t>(i)] = next();
  }
  return m;
}

void BeginNewGame(Player& p, const std::filesystem::path& folder, const MainFile& main) {
  BeginGame(p);
  SetGameFolder(p, folder);
  for (int i = 0; i <= kMaxCondition; ++i) p.conditions.Set(i, false);
  static const char* const kDefaultWords[] = {"добро",  "зло",  "добрый",
                                              "святой", "злой", "мерзавец"};
  for (int i = 1; i <= 6; ++i)
    p.characterWords[i] =
        main.hasWords ? main.words[static_cast<std::size_t>(i)] : FromUtf8(kDefaultWords[i - 1]);
  p.gameTitle = main.title;
  p.colorScheme = main.colorScheme;

  ApplyColorScheme(p);
  p.character[1] = 0;
  p.character[2] = 0;
  p.moves = 0;
  p.locationName = "Вступление в игру..."_cp;
  RefreshStatus(p);
  ShowIntro(p);
  MoveToLocation(p, 1);
}

bool NewGame(Player& p, const std::filesystem::path& folder) {
  // A folder that holds no game must leave the running game exactly as it was: its folder, its
  // title, its colours, conditions and words.
  std::optional<MainFile> m = ReadMainFile(p, folder);
  if (m) BeginNewGame(p, folder, *m);
  return m.has_value();
}

bool NewGame(Player& p) {
  return NewGame(p, p.gameFolder);
}

}  // namespace mireval
