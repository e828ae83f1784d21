#include "engine/score.h"

#include <algorithm>
#include <vector>

#include "engine/events.h"
#include "engine/game_files.h"
#include "engine/locations.h"
#include "engine/report.h"
#include "engine/script_error.h"
#include "engine/text.h"
#include "shell/player.h"
#include "shell/word_columns.h"

namespace mireval {

std::string& UbratProbely(std::string& text) {
  text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
  return text;
}

namespace {

const std::string& Prefix() {
  static const std::string s = "ПС "_cp;
  return s;
}

// Markers a term can hold instead of digits: the good and the evil points. Digits written after a
// marker join its text ("-13"), which then names neither.
const std::string kGood = "-1";
const std::string kEvil = "-2";

enum class Op { None, Plus, Minus, Greater, Less };

struct Statement {
  long n = 0;  // the condition being defined, 0 while none was read
  bool result = true;
};

// The 16-bit number of a term; an empty term (two operators in a row) stands for nothing. A term
// is a run of digits, read here directly since a line may hold many thousands of them, or a
// points marker followed by digits, which reads as a negative number.
int TermNumber(const std::string& term) {
  int value = 0;
  for (char c : term) {
    if (!IsDigit(c)) return TextToInt16(term);
    value = value * 10 + (c - '0');
    if (value > 32767) throw ScriptError("overflow");
  }
  return value;
}

// Evaluates one score-variable line (blanks already removed). `n` is kept up to date for the error
// report.
void Evaluate(const Player& p, std::string& line, Statement& st) {
  std::size_t eq = std::string::npos;
  for (std::size_t i = 3; i < line.size(); ++i) {
    if (line[i] != '=') continue;
    st.n = TermNumber(line.substr(2, i - 2));
    eq = i;
  }
  if (st.n == 0) throw ScriptError("score variable without a condition number");
  if (eq + 1 < line.size() && IsDigit(line[eq + 1])) line.insert(eq + 1, "+");
  line += "+";

  static const char good = "С"_cp[0], evil = "Т"_cp[0];
  double sum = 0;
  Op op = Op::None;
  std::string term;
  int lower = 0, upper = 0;
  bool lowerNeg = false, upperNeg = false;
  for (std::size_t i = eq + 1; i < line.size(); ++i) {
    char c = line[i];
    if (c == '<' || c == '>' || c == '-' || c == '+') {
      switch (op) {
        case Op::Plus:
          if (term == kGood)
            sum += p.Harakter[1].Number();
          else if (term == kEvil)
            sum += p.Harakter[2].Number();
          else if (!term.empty() && IsDigit(term[0])) {
            const int n = TermNumber(term);
            if (n > 0 && p.Uslovie.Get(n)) sum += 1;
          }
          break;
        case Op::Minus:
          if (term == kGood)
            sum -= p.Harakter[1].Number();
          else if (term == kEvil)
            sum -= p.Harakter[2].Number();
          else if (!term.empty() && !p.Uslovie.Get(TermNumber(term)))
            sum += 1;
          break;
        case Op::Greater:
          if (c != '-') lower = TermNumber(term);
          break;
        case Op::Less:
          if (c != '-') upper = TermNumber(term);
          break;
        case Op::None:
          break;
      }
      if (op == Op::Greater && c == '-') {
        lowerNeg = true;
      } else if (op == Op::Less && c == '-') {
        upperNeg = true;
      } else {
        op = c == '+' ? Op::Plus : c == '-' ? Op::Minus : c == '>' ? Op::Greater : Op::Less;
        term.clear();
      }
    } else if (IsDigit(c)) {
      term += c;
    } else if (c == good) {
      term = kGood;
    } else if (c == evil) {
      term = kEvil;
    }
  }
  if (lowerNeg) lower = -lower;
  if (upperNeg) upper = -upper;
  st.result = true;
  if (lower > 0 && sum <= lower) st.result = false;
  if (upper > 0 && sum >= upper) st.result = false;
}

bool IsScoreLine(const std::string& s) {
  return s.size() > 3 && EqualsNoCase(std::string_view(s).substr(0, 3), Prefix());
}

}  // namespace

namespace {

// Opens the pass's file and reads its first line (decoding a scrambled file); `skip` further lines
// are read again to come back to where an interrupted pass stood.
void OpenPass(Player& p, int pass, long skip) {
  OpenGameFile(p, LocationFiles(p)[static_cast<std::size_t>(pass)]);
  ReadScriptLine(p);
  for (long i = 0; i < skip; ++i) ReadPlainLine(p);
}

}  // namespace

void PodschetPS(Player& p) {
  p.UslChanged = false;
  // A condition that turns True restarts the pass once; turning True again later only stores it
  // and fires its events. Every restart thus follows a first False-to-True change, so the pass
  // always ends, whatever the events do to the conditions.
  std::vector<bool> restarted(kMaxCondition - kMinCondition + 1, false);
  Statement st;
  std::string fileRoom;
  try {
    bool restart = true;
    while (restart) {
      restart = false;
      for (int pass = 0; pass < 2 && !restart; ++pass) {
        fileRoom = pass == 0 ? p.Room.Text() : "0";
        OpenPass(p, pass, 0);
        long read = 0;  // lines after the first
        while (!p.file.Eof()) {
          ReadPlainLine(p);
          ++read;
          RightStroka(p.Stroka);
          if (!IsScoreLine(p.Stroka)) continue;
          UbratProbely(p.Stroka);
          st = Statement{};
          Evaluate(p, p.Stroka, st);
          if (st.result == p.Uslovie.Get(st.n)) continue;
          p.Uslovie.Set(st.n, st.result);
          if (!st.result) continue;
          CloseGameFileAndTemp(p);
          PodschetSob(p, st.n);
          std::size_t slot = static_cast<std::size_t>(st.n - kMinCondition);
          if (!restarted[slot]) {
            restarted[slot] = true;
            restart = true;
            break;
          }
          OpenPass(p, pass, read);
        }
        if (!restart) CloseGameFileAndTemp(p);
      }
    }
  } catch (const ScriptError&) {
    CloseGameFileAndTemp(p);
    ReportAndEnd(p, "Ошибка в строке "_cp + QuotedLine(p.Stroka) + " комнаты №"_cp + fileRoom +
                        " при подсчете переменной счета №"_cp + std::to_string(st.n));
  }
  FillWordColumns(p);
}

}  // namespace mireval
