#include "interpreter/score.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "base/script_error.h"
#include "base/text.h"
#include "base/vocabulary.h"
#include "interpreter/events.h"
#include "interpreter/locations.h"
#include "model/player.h"
#include "model/report.h"
#include "script/game_files.h"
#include "view/status.h"
#include "view/word_columns.h"

namespace mireval {

std::string& RemoveBlanks(std::string& text) {
  text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
  return text;
}

namespace {

// Markers a term can hold instead of digits: the good and the evil points. Digits written after a
// marker join its text ("-13"), which then names neither.
constexpr std::string_view kGood = "-1";
constexpr std::string_view kEvil = "-2";

enum class Op { None, Plus, Minus, Greater, Less };

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

// Takes the condition number from the text between "ПС" and an "=", at every "=" anew: the last
// one wins, and when a later one fails `n` still holds the number taken before, as the report
// quotes it. Returns the place of that "=".
std::size_t TakeCondition(const std::string& line, long& n) {
  std::size_t eq = std::string::npos;
  for (std::size_t i = 3; i < line.size(); ++i) {
    if (line[i] != '=') continue;
    n = TermNumber(line.substr(2, i - 2));
    eq = i;
  }
  if (n == 0) throw ScriptError("score variable without a condition number");
  return eq;
}

// A leading digit has a "+" assumed before it, and a "+" at the end settles the last term; the
// line keeps both, since the error report quotes it so.
void CloseExpression(std::string& line, std::size_t eq) {
  if (eq + 1 < line.size() && IsDigit(line[eq + 1])) line.insert(eq + 1, "+");
  line += "+";
}

// Reads the expression after "=" one character at a time: digits and the points letters collect
// a term, an operator settles the pending one with it. Any other character is passed over.
class ExpressionReader {
 public:
  explicit ExpressionReader(ScoreLine& out) : out_(out) {}

  void Read(char c) {
    static const char good = "С"_cp[0], evil = "Т"_cp[0];
    if (c == '<' || c == '>' || c == '-' || c == '+') {
      Settle(c);
      Switch(c);
    } else if (IsDigit(c)) {
      term_ += c;
    } else if (c == good) {
      term_ = kGood;
    } else if (c == evil) {
      term_ = kEvil;
    }
  }

  void Finish() {
    if (lowerNeg_) out_.lower = -out_.lower;
    if (upperNeg_) out_.upper = -out_.upper;
  }

 private:
  // The pending operator applied to the collected term, now that `c` ends it. A "-" right after
  // ">" or "<" ends nothing: it signs the threshold still being collected.
  void Settle(char c) {
    switch (op_) {
      case Op::Plus:
        SettlePlus();
        break;
      case Op::Minus:
        SettleMinus();
        break;
      case Op::Greater:
        if (c != '-') out_.lower = TermNumber(term_);
        break;
      case Op::Less:
        if (c != '-') out_.upper = TermNumber(term_);
        break;
      case Op::None:
        break;
    }
  }

  // "+K" counts a True condition K above 0; a marker with digits after it names nothing.
  void SettlePlus() {
    if (term_ == kGood) {
      Add(ScoreTerm::AddGood);
    } else if (term_ == kEvil) {
      Add(ScoreTerm::AddEvil);
    } else if (!term_.empty() && IsDigit(term_[0])) {
      const int k = TermNumber(term_);
      if (k > 0) Add(ScoreTerm::IfTrue, k);
    }
  }

  // "-K" counts a False condition K, 0 included; a marker with digits after it reads as a
  // negative condition number.
  void SettleMinus() {
    if (term_ == kGood)
      Add(ScoreTerm::SubGood);
    else if (term_ == kEvil)
      Add(ScoreTerm::SubEvil);
    else if (!term_.empty())
      Add(ScoreTerm::IfFalse, TermNumber(term_));
  }

  void Switch(char c) {
    if (op_ == Op::Greater && c == '-') {
      lowerNeg_ = true;
    } else if (op_ == Op::Less && c == '-') {
      upperNeg_ = true;
    } else {
      op_ = c == '+' ? Op::Plus : c == '-' ? Op::Minus : c == '>' ? Op::Greater : Op::Less;
      term_.clear();
    }
  }

  void Add(ScoreTerm::Kind kind, int condition = 0) {
    out_.terms.push_back({kind, condition});
    if (kind != ScoreTerm::IfTrue && kind != ScoreTerm::IfFalse) out_.usesPoints = true;
  }

  ScoreLine& out_;
  Op op_ = Op::None;
  std::string term_;
  bool lowerNeg_ = false, upperNeg_ = false;
};

// Reads a line whose blanks are removed; `line` becomes the quoted form step by step and `n` the
// last condition number taken, so that both stand as the report needs them when a step throws.
ScoreLine ReadScoreLine(std::string& line, long& n) {
  const std::size_t eq = TakeCondition(line, n);
  CloseExpression(line, eq);
  ScoreLine out;
  out.condition = n;
  ExpressionReader reader(out);
  for (std::size_t i = eq + 1; i < line.size(); ++i) reader.Read(line[i]);
  reader.Finish();
  return out;
}

}  // namespace

bool IsScoreLine(std::string_view line) {
  return line.size() > 3 && EqualsNoCase(line.substr(0, 3), words::kScore);
}

std::variant<ScoreLine, ScoreLineFault> ParseScoreLine(std::string_view text) {
  std::string line(text);
  RemoveBlanks(line);
  long n = 0;
  try {
    ScoreLine parsed = ReadScoreLine(line, n);
    parsed.quoted = std::move(line);
    return parsed;
  } catch (const ScriptError&) {
    return ScoreLineFault{std::move(line), n};
  }
}

bool EvaluateScoreLine(const Player& p, const ScoreLine& line) {
  double sum = 0;
  for (const ScoreTerm& t : line.terms) {
    switch (t.kind) {
      case ScoreTerm::IfTrue:
        if (p.conditions.Get(t.condition)) sum += 1;
        break;
      case ScoreTerm::IfFalse:
        if (!p.conditions.Get(t.condition)) sum += 1;
        break;
      case ScoreTerm::AddGood:
        sum += p.character[1].Number();
        break;
      case ScoreTerm::AddEvil:
        sum += p.character[2].Number();
        break;
      case ScoreTerm::SubGood:
        sum -= p.character[1].Number();
        break;
      case ScoreTerm::SubEvil:
        sum -= p.character[2].Number();
        break;
    }
  }
  if (line.lower > 0 && sum <= line.lower) return false;
  if (line.upper > 0 && sum >= line.upper) return false;
  return true;
}

namespace {

bool SameValue(const Variant& a, const Variant& b) {
  if (a.IsNumber()) return b.IsNumber() && a.Number() == b.Number();
  if (a.IsText()) return b.IsText() && a.Text() == b.Text();
  return b.IsEmpty();
}

// A score-variable line of one of the two files.
struct PassLine {
  std::string text;  // after StraightenDashes and RemoveBlanks
  long read = 0;     // its place: how many lines after the first were read up to it
  // Read when the pass first reaches it, not with the file: a faulty line ends the program only
  // once the lines before it have run and fired their events.
  std::optional<ScoreLine> parsed;
};

// One of the two files as the pass reads it: its score-variable lines, its event lines, and what
// reading it to its end leaves behind.
struct PassFile {
  std::string name;  // as the game writes it, for error reports
  std::vector<PassLine> lines;
  EventLines events;
  long count = 0;  // lines after the first
  std::string lastRead;
  bool lastIsScore = false;
  // Lines whose value may differ from their condition's: one bit per line. A line outside is one
  // whose inputs (its terms, the points it uses, its own condition) are unchanged since it last
  // ran, so running it again would change nothing; the pass passes over it.
  std::vector<std::uint64_t> dirty;

  void Mark(std::size_t i) { dirty[i / 64] |= std::uint64_t{1} << (i % 64); }
  void Unmark(std::size_t i) { dirty[i / 64] &= ~(std::uint64_t{1} << (i % 64)); }
  // The first marked line at or after `from`, or lines.size().
  std::size_t Next(std::size_t from) const {
    for (std::size_t w = from / 64; w < dirty.size(); ++w) {
      std::uint64_t bits = dirty[w];
      if (w == from / 64) bits &= ~std::uint64_t{0} << (from % 64);
      if (bits != 0) return std::min(lines.size(), w * 64 + std::countr_zero(bits));
    }
    return lines.size();
  }
};

// The recomputation. Every restart walks the lines from the top, as the format demands, but both
// files are read once per recomputation, each line is parsed once, and a line whose inputs have
// not changed since it last ran is passed over, since running it again would change nothing: a
// chain of thousands of score variables written last to first restarts thousands of times, and a
// restart must not cost a reading of the files and a run of every line before the one it stops at.
class ScorePass {
 public:
  explicit ScorePass(Player& p)
      : p_(p),
        watchers_(kMaxCondition - kMinCondition + 1),
        restarted_(kMaxCondition - kMinCondition + 1, false) {}

  void Run() {
    p_.conditionsChanged = false;
    RunScriptStep(
        p_, OnScriptError::ReportAndEnd, [&] { Walk(); },
        [&] {
          return "Ошибка в строке "_cp + QuotedLine(p_.line) + " комнаты №"_cp + fileRoom_ +
                 " при подсчете переменной счета №"_cp + std::to_string(n_);
        });
  }

 private:
  static std::uint32_t Key(int file, std::size_t index) {
    return static_cast<std::uint32_t>(file) << 31 | static_cast<std::uint32_t>(index);
  }

  PassFile& File(int f) {
    std::optional<PassFile>& slot = files_[static_cast<std::size_t>(f)];
    if (!slot) Read(f, slot);
    return *slot;
  }

  void Read(int f, std::optional<PassFile>& slot) {
    room_ = p_.location.Text();
    folder_ = p_.gameFolder;
    PassFile file;
    file.name = LocationFiles(p_)[static_cast<std::size_t>(f)];
    std::string line;
    ReadEventLines(p_, file.name, file.events, [&] {
      ++file.count;
      line = p_.line;
      if (!IsScoreLine(StraightenDashes(line))) return;
      PassLine& added = file.lines.emplace_back();
      added.text = RemoveBlanks(line);
      added.read = file.count;
    });
    file.lastRead = file.events.Last();
    if (file.count > 0) file.lastIsScore = IsScoreLine(StraightenDashes(file.lastRead));
    file.dirty.assign((file.lines.size() + 63) / 64, ~std::uint64_t{0});
    slot = std::move(file);
  }

  // Events may lead to another location or game (an answer clicked while the output writer
  // waits): the files read so far are then not the ones a reading now gives. Returns true when
  // they were dropped, to be read again.
  bool CheckContext() {
    if (room_ == p_.location.Text() && folder_ == p_.gameFolder) return false;
    files_[0].reset();
    files_[1].reset();
    for (auto& w : watchers_) w.clear();
    pointsWatchers_.clear();
    return true;
  }

  void Enter(int f) {
    fileRoom_ = f == 0 ? p_.location.Text() : "0";
    File(f);
  }

  // `line` and the condition number as running through the whole file leaves them: what a failed
  // reading of room0.txt right after the location's file reports.
  void Leave(int f) {
    const PassFile& file = *files_[static_cast<std::size_t>(f)];
    if (file.lines.empty()) {
      p_.line = file.lastRead;
      return;
    }
    const PassLine& last = file.lines.back();
    if (last.parsed) n_ = last.parsed->condition;
    p_.line = file.lastIsScore ? (last.parsed ? last.parsed->quoted : last.text) : file.lastRead;
  }

  void Watch(long condition, std::uint32_t key) {
    if (Conditions::InRange(condition))
      watchers_[static_cast<std::size_t>(condition - kMinCondition)].push_back(key);
  }

  void Changed(long condition) {
    if (!Conditions::InRange(condition)) return;
    for (std::uint32_t key : watchers_[static_cast<std::size_t>(condition - kMinCondition)])
      MarkKey(key);
  }

  void MarkKey(std::uint32_t key) {
    std::optional<PassFile>& file = files_[key >> 31];
    if (file) file->Mark(key & 0x7FFFFFFF);
  }

  // Runs line `i` of file `f`; returns the condition it turned True, or 0.
  long Visit(int f, std::size_t i) {
    PassFile& file = *files_[static_cast<std::size_t>(f)];
    PassLine& line = file.lines[i];
    p_.place = {file.name, line.read + 1};
    file.Unmark(i);
    n_ = 0;
    if (!line.parsed) Parse(f, i);
    const ScoreLine& score = *line.parsed;
    n_ = score.condition;
    try {
      const bool result = EvaluateScoreLine(p_, score);
      if (result == p_.conditions.Get(n_)) return 0;
      p_.conditions.Set(n_, result);
      Changed(n_);
      if (!result) return 0;
    } catch (const ScriptError&) {
      p_.line = score.quoted;
      throw;
    }
    p_.line = score.quoted;
    return n_;
  }

  // Reads line `i` of file `f` and has it watch its inputs; a fault leaves `line` and the
  // condition number as the report quotes them.
  void Parse(int f, std::size_t i) {
    PassLine& line = files_[static_cast<std::size_t>(f)]->lines[i];
    std::variant<ScoreLine, ScoreLineFault> read = ParseScoreLine(line.text);
    if (const ScoreLineFault* fault = std::get_if<ScoreLineFault>(&read)) {
      p_.line = fault->quoted;
      n_ = fault->condition;
      throw ScriptError("faulty score-variable line");
    }
    line.parsed = std::get<ScoreLine>(std::move(read));
    p_.line = line.parsed->quoted;
    const std::uint32_t key = Key(f, i);
    Watch(line.parsed->condition, key);
    for (const ScoreTerm& t : line.parsed->terms)
      if (t.kind == ScoreTerm::IfTrue || t.kind == ScoreTerm::IfFalse) Watch(t.condition, key);
    if (line.parsed->usesPoints) pointsWatchers_.push_back(key);
  }

  void FireEvents(long n) {
    const Conditions before = p_.conditions;
    const Variant good = p_.character[1], evil = p_.character[2];
    RunEventsPass(p_, n, [&](int f) -> const EventLines& { return File(f).events; });
    if (!(before == p_.conditions)) {
      for (long c = kMinCondition; c <= kMaxCondition; ++c)
        if (before.Get(c) != p_.conditions.Get(c)) Changed(c);
    }
    if (!SameValue(good, p_.character[1]) || !SameValue(evil, p_.character[2]))
      for (std::uint32_t key : pointsWatchers_) MarkKey(key);
  }

  // Where the walk stands: a file, and the first of its lines not yet visited.
  struct Place {
    int file = 0;
    std::size_t line = 0;
  };

  void Walk() {
    Place at = Start(0);
    for (;;) {
      PassFile& file = File(at.file);
      const std::size_t i = file.Next(at.line);
      if (i == file.lines.size()) {
        Leave(at.file);
        if (at.file == 1) return;
        at = Start(1);
        continue;
      }
      const long read = file.lines[i].read;
      at.line = i + 1;
      const long n = Visit(at.file, i);
      if (n != 0) at = AfterTurningTrue(n, at, read);
    }
  }

  Place Start(int f) {
    Enter(f);
    return {f, 0};
  }

  // Fires the events of condition `n`, just turned True by the line read `read`-th in the file
  // of `at`, and returns the place to go on from.
  Place AfterTurningTrue(long n, Place at, long read) {
    FireEvents(n);
    const bool reread = CheckContext();
    std::vector<bool>::reference restarted =
        restarted_[static_cast<std::size_t>(n - kMinCondition)];
    // A condition that turns True restarts the pass once; turning True again later only stores
    // it and fires its events. Every restart thus follows a first False-to-True change, so the
    // pass always ends, whatever the events do to the conditions.
    if (!restarted) {
      restarted = true;
      return Start(0);
    }
    if (reread) at.line = Resume(at.file, read);
    return at;
  }

  // The place after line `read` of file `f` read again from the top.
  std::size_t Resume(int f, long read) {
    PassFile& file = File(f);
    if (file.count < read) throw ScriptError("the file has become shorter");
    std::size_t i = 0;
    while (i < file.lines.size() && file.lines[i].read <= read) ++i;
    return i;
  }

  Player& p_;
  std::array<std::optional<PassFile>, 2> files_;
  std::string room_;  // what the files were read for
  std::filesystem::path folder_;
  // Per condition, the lines that read it or define it.
  std::vector<std::vector<std::uint32_t>> watchers_;
  std::vector<std::uint32_t> pointsWatchers_;
  std::vector<bool> restarted_;
  long n_ = 0;  // the last condition number taken, for the report
  std::string fileRoom_;
};

}  // namespace

void SettleScoreVariables(Player& p) {
  ScorePass(p).Run();
  FillWordColumns(p);
}

void SettleCharacterConditions(Player& p) {
  const Variant& good = p.character[1];
  const Variant& evil = p.character[2];
  p.conditions.Set(0, good.Compare(evil) >= 0);
  bool moderate = true;
  if (good.Compare(4) > 0 && good.Number() > 4 * evil.Number()) moderate = false;
  if (evil.Compare(4) > 0 && evil.Number() > 4 * good.Number()) moderate = false;
  p.conditions.Set(3000, moderate);
}

void RefreshStatus(Player& p) {
  SettleCharacterConditions(p);
  DrawStatusLine(p);
}

}  // namespace mireval
