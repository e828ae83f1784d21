#include "view/word_columns.h"

#include <algorithm>

#include "base/script_error.h"
#include "base/text.h"
#include "base/vocabulary.h"
#include "model/player.h"
#include "model/report.h"
#include "script/game_files.h"
#include "script/location_files.h"

namespace mireval {

namespace {

// The word of a К-line when its conditions hold, "" when they do not.
std::string WordOf(const Player& p, const std::string& line) {
  bool shown = true, negative = false;
  std::string digits;
  for (std::size_t i = 3; i < line.size(); ++i) {
    char c = line[i];
    if (c == '-') {
      negative = true;
    } else if (IsDigit(c)) {
      digits += c;
    } else if (c == ' ') {
      if (digits.empty()) continue;
      long n = TextToInt16(digits);
      if (n < 0 || n > kMaxCondition) throw ScriptError("word condition out of range");
      if (p.conditions.Get(n) == negative) shown = false;
      negative = false;
      digits.clear();
    } else {
      return shown ? line.substr(i) : std::string();
    }
  }
  throw ScriptError("word line without a word");
}

}  // namespace

void FillWordColumns(Player& p) {
  for (ListBox& l : p.wordColumns) l.items.clear();
  const bool filled = RunScriptStep(
      p, OnScriptError::ReportAndGoOn,
      [&] {
        ForEachLocationLine(p, [&] {
          StraightenDashes(p.line);
          int column = StartsWith(p.line, words::kWords1)   ? 0
                       : StartsWith(p.line, words::kWords2) ? 1
                                                            : -1;
          if (column < 0) return;
          std::string word = WordOf(p, p.line);
          if (word.empty()) return;
          auto& items = p.wordColumns[column].items;
          if (std::find(items.begin(), items.end(), word) == items.end()) items.push_back(word);
        });
      },
      [&] {
        return "Ошибка при просчете добавления слов в столбцы в строке "_cp + QuotedLine(p.line) +
               ")";
      });
  if (!filled) return;
  ArrangeLayout(p);
}

void OnWordClicked(Player& p, int column, int item) {
  if (column < 0 || column > 1 || WaitPending(p)) return;
  const auto& items = p.wordColumns[column].items;
  if (item < 0 || static_cast<std::size_t>(item) >= items.size()) return;
  const std::string word = items[static_cast<std::size_t>(item)];
  const std::string& line = p.input.text;
  if (line.find(word) == std::string::npos)
    p.input.SetText(column == 0 ? word + " " + line : line + " " + word);
  p.focus = Focus::Input;
}

void ArrangeLayout(Player& p) {
  bool narrow = !p.wordColumns[0].items.empty() || !p.wordColumns[1].items.empty();
  ArrangeForm(p, narrow ? Layout::Narrow : Layout::Wide);
  p.wordColumns[0].visible = p.wordColumns[1].visible = narrow;
}

}  // namespace mireval
