#include "interpreter/lists.h"

#include <filesystem>
#include <optional>

#include "base/files.h"
#include "base/script_error.h"
#include "base/text.h"
#include "base/vocabulary.h"
#include "model/player.h"
#include "script/addresses.h"
#include "script/condition_list.h"
#include "script/game_files.h"
#include "view/info_screens.h"
#include "view/output.h"

namespace mireval {

namespace {

// A file this small holds no list: its author chose to offer none.
constexpr std::uintmax_t kNoListSize = 5;

enum class List { Missing, NoneOffered, Present };

// A list file that is missing, or leads outside the game folder, is reported under the heading and
// play goes on; a file of kNoListSize bytes or less is the author's way of offering no list.
List LookForList(const Player& p, std::string_view name) {
  const std::optional<std::filesystem::path> file = FindGameFile(p, name);
  const std::optional<std::uintmax_t> size = file ? FileSize(*file) : std::nullopt;
  if (!size) return List::Missing;
  return *size > kNoListSize ? List::Present : List::NoneOffered;
}

// The heading with the sentence that names the missing file.
void ReportMissingList(Player& p, std::string_view name, const std::string& heading) {
  p.story.Append("\r\n" + heading + NoSuchFileText(name) + "\r\n");
  StoryTail(p);
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
  switch (LookForList(p, file)) {
    case List::Missing:
      ReportMissingList(p, file, FromUtf8(headingUtf8));
      return;
    case List::NoneOffered:
      p.story.Append("\r\n" + FromUtf8(noListUtf8));
      return;
    case List::Present:
      break;
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
  switch (LookForList(p, words::kHintsFile)) {
    case List::Missing:
      ReportMissingList(p, words::kHintsFile, "Подсказка: "_cp);
      return;
    case List::NoneOffered:
      p.story.Append("\r\n" +
                     "Автор игры не предусмотрел возможность наличия подсказок в игре."_cp);
      return;
    case List::Present:
      break;
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
