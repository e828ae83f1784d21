#include "app/top_level.h"

#include <array>
#include <cmath>
#include <initializer_list>

#include "app/autostart.h"
#include "app/browser.h"
#include "app/save_load.h"
#include "base/text.h"
#include "model/player.h"
#include "view/colors.h"
#include "view/info_screens.h"
#include "view/output.h"

namespace mireval {

namespace {

// The forms are written in UTF-8; so is `upperUtf8`, converted once for all of them.
bool IsOneOf(std::string_view upperUtf8, std::initializer_list<std::string_view> forms) {
  for (std::string_view f : forms)
    if (upperUtf8 == f) return true;
  return false;
}

}  // namespace

bool MayLeave(Player& p) {
  if (!GameLoaded(p)) return true;
  switch (p.platform.AskYesNoCancel("Желаете ли сохранить свою игру перед уходом?"_cp)) {
    case Platform::Choice::Cancel:
      return false;
    case Platform::Choice::No:
      return true;
    case Platform::Choice::Yes:
      // A save that failed has been reported; leaving now would lose the game it meant to keep.
      return SaveGame(p);
  }
  return false;
}

bool RunTopLevelCommand(Player& p) {
  const std::string line = Upper(p.input.text);
  const std::string typed = ToUtf8(line);
  bool gameLoaded = GameLoaded(p);
  // The input line is cleared before a command that may start a game: an Enter that releases
  // the new game's transition must not find the command still standing in it.
  if (IsOneOf(typed, {"ОТКРЫТЬ ИГРУ", "ЗАНОВО", "НОВАЯ ИГРА"})) {
    p.input.SetText("");
    AutoStart(p);
    OpenGameDialog(p);
    return true;
  }
  if (IsOneOf(typed, {"СОХРАНИТЬСЯ", "СОХРАНИТЬ ИГРУ"})) {
    bool failed = gameLoaded && !SaveGame(p);
    p.input.SetText("");
    if (!failed) {
      p.story.Append("\r\n" + "ИГРА УСПЕШНО СОХРАНЕНА"_cp + "\r\n");
      StoryTail(p);
    }
    return true;
  }
  if (IsOneOf(typed, {"ЗАГРУЗИТЬСЯ", "ЗАГРУЗИТЬ ИГРУ"})) {
    p.input.SetText("");
    AutoStartDir(p);
    LoadGameDialog(p);
    p.story.Append("\r\n" + "ИГРА УСПЕШНО ЗАГРУЖЕНА "_cp + "\r\n");
    StoryTail(p);
    return true;
  }
  if (IsOneOf(typed, {"ЗАКОНЧИТЬ ИГРУ", "ПОКИНУТЬ ИГРУ", "ВЫЙТИ ИЗ ИГРЫ", "ВЫХОД"})) {
    if (MayLeave(p)) p.platform.EndProgram(kExitNormal);
    return true;
  }
  if (IsOneOf(typed, {"ФОРУМ ИГРЫ", "ПЕРЕЙТИ НА ФОРУМ"})) {
    p.platform.OpenUrl(kForumAddress);
    return true;
  }
  if (IsOneOf(typed, {"САЙТ ИГРЫ", "ПЕРЕЙТИ НА САЙТ"})) {
    p.platform.OpenUrl(kSiteAddress);
    return true;
  }
  // The two screens of text go through the output writer, whose pause would wait inside a pending
  // wait; there the line is no command and its Enter only releases the wait.
  const bool mayWrite = !WaitPending(p);
  if (mayWrite && IsOneOf(typed, {"РЕДАКТОР ИГРЫ", "СОЗДАНИЕ ИГРЫ"})) {
    p.input.SetText("");
    ShowEditorIntro(p);
    return true;
  }
  if (mayWrite && IsOneOf(typed, {"СПРАВКА"}) && p.gameTitle.Text().empty()) {
    p.input.SetText("");
    ShowIfGames(p);
    return true;
  }
  static const std::string scheme = "ЦВЕТОВАЯ ГАММА"_cp;
  if (StartsWith(line, scheme)) {
    std::string number = Mid(p.input.text, 16);
    if (auto n = ParseNumber(number)) {
      p.colorScheme = std::floor(*n);
      ApplyColorScheme(p);
    }
    p.input.SetText("");
    return true;
  }
  return false;
}

}  // namespace mireval
