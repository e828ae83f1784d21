#include "app/top_level.h"

#include <array>
#include <cmath>
#include <string_view>

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

// The input line is cleared before a command that may start a game: an Enter that releases the
// new game's transition must not find the command still standing in it.
void OpenGame(Player& p) {
  p.input.SetText("");
  AutoStart(p);
  OpenGameDialog(p);
}

void Save(Player& p) {
  const bool failed = GameLoaded(p) && !SaveGame(p);
  p.input.SetText("");
  if (!failed) {
    p.story.Append("\r\n" + "ИГРА УСПЕШНО СОХРАНЕНА"_cp + "\r\n");
    StoryTail(p);
  }
}

void Load(Player& p) {
  p.input.SetText("");
  AutoStartDir(p);
  LoadGameDialog(p);
  p.story.Append("\r\n" + "ИГРА УСПЕШНО ЗАГРУЖЕНА "_cp + "\r\n");
  StoryTail(p);
}

void Leave(Player& p) {
  if (MayLeave(p)) p.platform.EndProgram(kExitNormal);
}

void OpenForum(Player& p) {
  p.platform.OpenUrl(kForumAddress);
}

void OpenSite(Player& p) {
  p.platform.OpenUrl(kSiteAddress);
}

void EditorIntro(Player& p) {
  p.input.SetText("");
  ShowEditorIntro(p);
}

void GamesIntro(Player& p) {
  p.input.SetText("");
  ShowIfGames(p);
}

bool Always(const Player&) {
  return true;
}

bool NoGameTitle(const Player& p) {
  return p.gameTitle.Text().empty();
}

struct TopLevelCommand {
  std::array<std::string_view, 4> forms;  // upper case, UTF-8; unused places empty
  // The two screens of text go through the output writer, whose pause would wait inside a
  // pending wait; there the line is no command and its Enter only releases the wait.
  bool writesScreens;
  bool (*applies)(const Player&);
  void (*run)(Player&);

  bool Names(std::string_view upperUtf8) const {
    for (std::string_view f : forms)
      if (!f.empty() && upperUtf8 == f) return true;
    return false;
  }
};

constexpr std::array<TopLevelCommand, 8> kCommands = {{
    {{"ОТКРЫТЬ ИГРУ", "ЗАНОВО", "НОВАЯ ИГРА"}, false, Always, OpenGame},
    {{"СОХРАНИТЬСЯ", "СОХРАНИТЬ ИГРУ"}, false, Always, Save},
    {{"ЗАГРУЗИТЬСЯ", "ЗАГРУЗИТЬ ИГРУ"}, false, Always, Load},
    {{"ЗАКОНЧИТЬ ИГРУ", "ПОКИНУТЬ ИГРУ", "ВЫЙТИ ИЗ ИГРЫ", "ВЫХОД"}, false, Always, Leave},
    {{"ФОРУМ ИГРЫ", "ПЕРЕЙТИ НА ФОРУМ"}, false, Always, OpenForum},
    {{"САЙТ ИГРЫ", "ПЕРЕЙТИ НА САЙТ"}, false, Always, OpenSite},
    {{"РЕДАКТОР ИГРЫ", "СОЗДАНИЕ ИГРЫ"}, true, Always, EditorIntro},
    {{"СПРАВКА"}, true, NoGameTitle, GamesIntro},
}};

constexpr std::string_view kSchemeCommand = "ЦВЕТОВАЯ ГАММА"_cpv;  // followed by the number

void SetSchemeFromInput(Player& p) {
  std::string number = Mid(p.input.text, 16);
  if (auto n = ParseNumber(number)) {
    p.colorScheme = std::floor(*n);
    ApplyColorScheme(p);
  }
  p.input.SetText("");
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

namespace {

// The table's command for the input line, or null (also for the colour scheme command).
const TopLevelCommand* FindCommand(const Player& p, const std::string& upperLine) {
  const std::string typed = ToUtf8(upperLine);
  for (const TopLevelCommand& command : kCommands)
    if (command.Names(typed) && !(command.writesScreens && WaitPending(p)) && command.applies(p))
      return &command;
  return nullptr;
}

}  // namespace

bool RunTopLevelCommand(Player& p) {
  const std::string line = Upper(p.input.text);
  if (const TopLevelCommand* command = FindCommand(p, line)) {
    command->run(p);
    return true;
  }
  if (StartsWith(line, kSchemeCommand)) {
    SetSchemeFromInput(p);
    return true;
  }
  return false;
}

bool IsTopLevelCommand(const Player& p) {
  const std::string line = Upper(p.input.text);
  return FindCommand(p, line) || StartsWith(line, kSchemeCommand);
}

}  // namespace mireval
