#include "shell/word_columns.h"

#include <algorithm>

#include "engine/game_files.h"
#include "engine/locations.h"
#include "engine/report.h"
#include "engine/script_error.h"
#include "engine/text.h"
#include "shell/player.h"

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
      if (p.Uslovie.Get(n) == negative) shown = false;
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
  static const std::string k1 = "К1 "_cp, k2 = "К2 "_cp;
  for (ListBox& l : p.List1) l.items.clear();
  try {
    ForEachLocationLine(p, [&] {
      RightStroka(p.Stroka);
      int column = StartsWith(p.Stroka, k1) ? 0 : StartsWith(p.Stroka, k2) ? 1 : -1;
      if (column < 0) return;
      std::string word = WordOf(p, p.Stroka);
      if (word.empty()) return;
      auto& items = p.List1[column].items;
      if (std::find(items.begin(), items.end(), word) == items.end()) items.push_back(word);
    });
  } catch (const ScriptError&) {
    CloseGameFileAndTemp(p);
    p.platform.MessageBox("Ошибка при просчете добавления слов в столбцы в строке "_cp +
                          QuotedLine(p.Stroka) + ")");
    return;
  }
  ArrangeLayout(p);
}

void List1_Click(Player& p, int column, int item) {
  if (column < 0 || column > 1 || WaitPending(p)) return;
  const auto& items = p.List1[column].items;
  if (item < 0 || static_cast<std::size_t>(item) >= items.size()) return;
  const std::string word = items[static_cast<std::size_t>(item)];
  const std::string& line = p.Text2.text;
  if (line.find(word) == std::string::npos)
    p.Text2.SetText(column == 0 ? word + " " + line : line + " " + word);
  p.focus = Focus::Text2;
}

void ArrangeLayout(Player& p) {
  bool narrow = !p.List1[0].items.empty() || !p.List1[1].items.empty();
  if (narrow) {
    p.Label1[4].width = 561;
    p.Label1[0].left = 0;
    p.Label1[0].width = 189;
    p.Label1[2].width = 163;
    p.Label1[1].width = 211;
    p.Label1[2].left = p.Label1[0].width;
    p.Label1[1].left = p.Label1[2].width + p.Label1[0].width;
    p.Picture1.width = 561;
    p.Picture3.width = 561;
    p.Dir1.width = p.Drive1.width = 279;
    p.File1.left = 286;
    p.File1.width = 263;
    p.Command3.left = 8010;
    p.Image3.left = 0;
    p.Image3.width = 7815;
    p.Text1.width = p.Text2.width = p.T.width = 560;
  } else {
    p.Label1[4].width = 787;
    p.Label1[0].left = 0;
    p.Label1[0].width = 217;
    p.Label1[1].left = 608;
    p.Label1[1].width = 181;
    p.Label1[2].left = 218;
    p.Label1[2].width = 389;
    p.Picture1.width = 781;
    p.Picture3.width = 785;
    p.Dir1.width = p.Drive1.width = 377;
    p.File1.left = 388;
    p.File1.width = 387;
    p.Command3.left = 11340;
    p.Image3.left = 1200;
    p.Image3.width = 8865;
    p.Text1.width = p.Text2.width = p.T.width = 789;
  }
  p.List1[0].visible = p.List1[1].visible = narrow;
}

}  // namespace mireval
