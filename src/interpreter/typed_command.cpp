#include "interpreter/typed_command.h"

#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "base/files.h"
#include "base/script_error.h"
#include "base/text.h"
#include "base/variant.h"
#include "base/vocabulary.h"
#include "interpreter/command_log.h"
#include "interpreter/dialogue.h"
#include "interpreter/execution.h"
#include "interpreter/lists.h"
#include "interpreter/locations.h"
#include "interpreter/matcher.h"
#include "interpreter/refusal.h"
#include "interpreter/score.h"
#include "interpreter/transition.h"
#include "model/player.h"
#include "model/report.h"
#include "script/condition_list.h"
#include "script/game_files.h"
#include "view/info_screens.h"
#include "view/output.h"
#include "view/status.h"

namespace mireval {

namespace {

// ---- logging and tidying -------------------------------------------------------------------

void WriteLog(Player& p) {
  AppendCommandLog(p, p.locationName.Text(), p.commandLine);
}

// ---- talk verbs and built-in commands ------------------------------------------------------

// A prefix test on the typed text: whatever follows the verb does not matter, so «диалоги» is a
// talk verb through "ДИАЛ".
bool IsTalkVerb(const Player& p) {
  static const std::array<std::string, 15> verbs = [] {
    const char* utf8[] = {"Говорить",     "Беседовать", "Разговаривать", "Болтать",  "Переговорить",
                          "Сказать",      "Произнести", "Диалог",        "ДИАЛ",     "Поговорить",
                          "Побеседовать", "Поболтать",  "Переговорить",  "Разговор", "Сесть за"};
    std::array<std::string, 15> out;
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = Upper(FromUtf8(utf8[i]));
    return out;
  }();
  // The typed text starts after the blank that leads `commandLine`.
  const std::string_view typed =
      p.commandLine.empty() ? std::string_view() : std::string_view(p.commandLine).substr(1);
  for (const std::string& verb : verbs)
    if (p.commandLine.size() >= verb.size() && EqualsNoCase(typed.substr(0, verb.size()), verb))
      return true;
  return false;
}

struct BuiltIn {
  std::vector<std::string> forms;
  std::string echo;
  std::function<void(Player&)> run;
};

void LookAround(Player& p) {
  p.story.Append("\r\n");
  ShowRoom(p);
}

const std::vector<BuiltIn>& BuiltIns() {
  static const std::vector<BuiltIn> table = [] {
    auto forms = [](std::initializer_list<const char*> utf8) {
      std::vector<std::string> out;
      for (const char* f : utf8) out.push_back(FromUtf8(f));
      return out;
    };
    return std::vector<BuiltIn>{
        {forms({" ВЕЩИ ", " РЮКЗАК ", " ИНВЕНТАРЬ "}), "> ИНВЕНТАРЬ"_cp, ShowInventory},
        {forms({" МИССИИ ", " КВЕСТЫ ", " ЗАДАНИЯ "}), "> ЗАДАНИЯ"_cp, ShowTasks},
        {forms({" КОДЫ ", " ПОДСКАЗКИ "}), "> ПОДСКАЗКИ"_cp, ShowHint},
        {forms({" ОБ АВТОРЕ ", " АВТОРЫ ", " АВТОР "}), "> АВТОР"_cp, ShowAuthor},
        {forms({" ОПИСАНИЕ ", " ЛОКАЦИЯ ", " ОСМОТРЕТЬСЯ ", " О "}), "> ОСМОТРЕТЬСЯ"_cp,
         LookAround},
        {forms({" КЛЮЧЕВЫЕ СЛОВА "}), "> КЛЮЧЕВЫЕ СЛОВА"_cp, ShowKeywords},
        {forms({" ОБ ИГРЕ ", " ИНСТРУКЦИИ ", " ПОМОЩЬ "}), "> ПОМОЩЬ"_cp, ShowRules},
        {forms({" СПРАВКА "}), "> СПРАВКА"_cp, ShowIfGames},
    };
  }();
  return table;
}

// "отладка N": tells whether condition N is true. A number out of range gets the echo alone.
void DebugQuery(Player& p) {
  p.story.Append("\r\n> " + p.commandLine + "\r\n");
  const long n = IntVal(Mid(p.commandLine, 9));
  if (Conditions::InRange(n)) {
    p.story.Append(" Значение условия №"_cp + std::to_string(n) +
                   (p.conditions.Get(n) ? " равно ИСТИНА."_cp : " равно ЛОЖЬ."_cp));
  }
  StoryTail(p);
}

// True when the line was one of the program's own words and has been carried out.
bool RunBuiltIn(Player& p) {
  const std::string line = Upper(p.commandLine);
  for (const BuiltIn& b : BuiltIns()) {
    for (const std::string& form : b.forms) {
      if (line != form) continue;
      p.story.Append("\r\n" + b.echo + "\r\n");
      b.run(p);
      return true;
    }
  }
  if (StartsWith(line, words::kDebugSuffix)) {
    DebugQuery(p);
    return true;
  }
  return false;
}

// ---- choosing the command entry ------------------------------------------------------------

void SkipBlock(Player& p) {
  while (p.line.size() > 1 && !p.file.Eof()) {
    ReadPlainLine(p);
    StraightenDashes(p.line);
  }
}

// Counts the conditions of an "Л " line (which ends with a blank) and notes whether one fails.
void EvaluateConditions(const Player& p, const std::string& line, bool& failed, int& count) {
  ForEachListedCondition(line, 2, false, false, [&](std::string_view digits, bool expect) {
    const long n = IntVal(digits);
    ++count;
    if (p.conditions.Get(n) != expect) failed = true;
  });
}

// Scores every matching command entry of the location file and room0.txt. Entries are numbered
// by their head lines in the order the scan meets them, across both files. The same scan finds
// the winner again for execution: it reads the same lines in the same way, so the entry executed
// is always the entry that won, however oddly a file is laid out.
class Selection {
 public:
  explicit Selection(Player& p) : p_(p), synonyms_(p) {}

  void Run() {
    const std::string roomFile = CurrentRoomFile(p_);
    const std::string commonFile(words::kCommonLocationFile);
    ScoreFile(roomFile, 1);
    countBeforeCommon_ = count_;
    ScoreFile(commonFile, 2);
    if (winner_ == 0) {
      RefuseCommand(p_);
      return;
    }
    count_ = winnerPass_ == 1 ? 0 : countBeforeCommon_;
    ScopedGameFile file(p_, winnerPass_ == 1 ? roomFile : commonFile);
    if (!ReadFile(winnerPass_, winner_))
      throw ScriptError("the chosen command entry is gone from its file");
    RunCommandBlock(p_);  // reads on from the open file and closes it
  }

 private:
  void ScoreFile(const std::string& name, int pass) {
    ScopedGameFile file(p_, name);
    ReadFile(pass, 0);
  }

  // Reads the open file. With `stopAt`, stops at that entry's head line, the file read just past
  // it (true); otherwise scores the candidates.
  bool ReadFile(int pass, int stopAt) {
    const double fileTerm = pass == 1 ? p_.location.Number() : 0;
    bool candidate = false;
    while (!p_.file.Eof()) {
      ReadScriptLine(p_);
      StraightenDashes(p_.line);
      if (StartsWith(p_.line, words::kCommand)) {
        ++count_;
        if (count_ == stopAt) return true;
        if (!CommandMatches(p_, p_.line, false, synonyms_)) {
          SkipBlock(p_);
          continue;
        }
        candidate = true;
      }
      if (!candidate) {
        SkipBlock(p_);
        continue;
      }
      candidate = false;
      const std::optional<double> score = ScoreHead(fileTerm);
      if (stopAt == 0 && score && *score >= best_) {
        best_ = *score;
        winner_ = count_;
        winnerPass_ = pass;
      }
    }
    return false;
  }

  // Reads the rest of a matching entry's head: its lines up to the first instruction or the end
  // of the block, where only conditions lines count. The entry's score, or nothing when one of
  // its conditions fails (the block is then skipped).
  std::optional<double> ScoreHead(double fileTerm) {
    bool failed = false;
    int conditions = 0;
    for (;;) {
      if (StartsWith(p_.line, words::kConditions))
        EvaluateConditions(p_, p_.line, failed, conditions);
      if (failed) {
        SkipBlock(p_);
        return std::nullopt;
      }
      if (p_.line.size() <= 1 || p_.file.Eof() || IsBlockInstruction(p_.line))
        return 10000 * p_.wordLinesCount.Number() + 100 * conditions + fileTerm;
      ReadPlainLine(p_);
      StraightenDashes(p_.line);
      p_.line += ' ';
    }
  }

  Player& p_;
  const SynonymIndex synonyms_;  // the table does not change while the files are scanned
  int count_ = 0;
  int countBeforeCommon_ = 0;
  double best_ = 0;
  int winner_ = 0;
  int winnerPass_ = 0;
};

bool GameRunning(const Player& p) {
  return !p.location.IsEmpty() && p.location.Compare(0) != 0;
}

void Process(Player& p) {
  p.moves = p.moves + Variant(1);
  RefreshStatus(p);
  p.commandLine = " " + p.input.text + " ";
  WriteLog(p);
  TidyBlanks(p.commandLine);

  if (IsTalkVerb(p)) {
    OfferDialogue(p);
  } else if (!RunBuiltIn(p)) {
    // The reload re-enters the location and then lets the entries see the line as well.
    if (Upper(p.commandLine) == words::kReloadLocationCommand) {
      const Variant room = p.location;
      // The new description runs an automatic dialogue turn, which takes over the command
      // line; the entries must still see the typed one.
      const std::string typed = p.commandLine;
      MoveToLocation(p, room);
      p.commandLine = typed;
    }
    if (GameRunning(p) && p.autoDialogue) {
      RunAutomaticDialogue(p);  // automatic-dialogue mode takes every ordinary command
    } else {
      Selection(p).Run();
    }
  }

  p.input.SetText("");
  RefreshStatus(p);
}

}  // namespace

void TidyBlanks(std::string& line) {
  // Pairs are taken from the start of each run: its first, third, fifth... blanks stay. Done in
  // place in one sweep, since a line may be a million blanks long.
  std::size_t kept = 0, run = 0;
  for (const char c : line) {
    if (c == ' ') {
      if (run++ % 2 == 1) continue;
    } else {
      run = 0;
    }
    line[kept++] = c;
  }
  line.resize(kept);
}

void ExecuteTypedCommand(Player& p) {
  RunScriptStep(
      p, OnScriptError::ReportAndEnd, [&] { Process(p); },
      [&] { return LineErrorText(p, p.line); });
}

}  // namespace mireval
