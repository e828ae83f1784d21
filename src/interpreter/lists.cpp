#include "interpreter/lists.h"

#include "base/files.h"
#include "base/script_error.h"
#include "base/text.h"
#include "base/vocabulary.h"
#include "model/player.h"
#include "script/addresses.h"
#include "script/condition_list.h"
#include "script/game_files.h"
#include "view/output.h"

namespace mireval {

namespace {

// A file this small holds no list: its author chose to offer none.
constexpr std::uintmax_t kNoListSize = 5;

bool HasList(const Player& p, std::string_view name) {
  auto size = FileSize(GamePath(p, name));
  if (!size) throw ScriptError("list file missing: " + std::string(name));
  return *size > kNoListSize;
}

// Whether every condition of a list condition line holds. Numbers are separated by single blanks;
// a blank that follows no number makes the line unreadable.
bool ConditionsHold(const Player& p, const std::string& line) {
  return ConditionListHolds(p.conditions, line, 0, true);
}

void ReadLine(Player& p, bool markerTest) {
  if (markerTest)
    ReadScriptLine(p);
  else
    ReadPlainLine(p);
  StraightenDashes(p.line);
}

// Inventory and tasks: pairs of lines, condition line and entry.
void ShowPairs(Player& p, std::string_view file, const char* noListUtf8, const char* headingUtf8) {
  if (!HasList(p, file)) {
    p.story.Append("\r\n" + FromUtf8(noListUtf8));
    return;
  }
  p.story.Append("\r\n" + FromUtf8(headingUtf8));
  {
    // The decoded text of a scrambled list goes at once: it is the list in plain text.
    ScopedGameFile list(p, file);
    while (!p.file.Eof()) {
      ReadLine(p, true);
      const bool shown = ConditionsHold(p, p.line);
      ReadLine(p, false);
      if (shown) p.story.Append(p.line + "\r\n");
    }
  }
  StoryTail(p);
}

}  // namespace

void ShowInventory(Player& p) {
  ShowPairs(p, words::kInventoryFile, "Автор игры не предусмотрел возможность просмотра инвентаря.",
            "Вы в данный момент несете: ");
}

void ShowTasks(Player& p) {
  ShowPairs(p, words::kTasksFile, "Автор игры не предусмотрел возможность просмотра заданий.",
            "Вы имеете следующие задания: ");
}

void ShowHint(Player& p) {
  if (!HasList(p, words::kHintsFile)) {
    p.story.Append("\r\n" + "Автор игры не предусмотрел возможность наличия подсказок в игре."_cp);
    return;
  }
  p.story.Append("\r\n" + "Подсказка: "_cp);
  bool shown = false;
  {
    ScopedGameFile hints(p, words::kHintsFile);
    // Triples: condition line, hint, separator line.
    while (!p.file.Eof() && !shown) {
      ReadLine(p, true);
      shown = ConditionsHold(p, p.line);
      ReadLine(p, false);
      if (shown) p.story.Append(p.line);
      if (!p.file.Eof()) ReadLine(p, false);
    }
  }
  if (!shown) {
    p.story.Append(
        "Извините, но подсказки на этом закончились. Над дальнейшем продолжением игры Вам "
        "предстоит подумать самим! В крайнем случае Вы можете также задать вопросы о "
        "прохождении игры на форуме игры, например, по адресу "_cp +
        kForumAddress);
  }
  StoryTail(p);
}

}  // namespace mireval
