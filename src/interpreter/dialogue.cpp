#include "interpreter/dialogue.h"

#include "base/script_error.h"
#include "base/text.h"
#include "base/vocabulary.h"
#include "interpreter/command_log.h"
#include "interpreter/execution.h"
#include "interpreter/locations.h"
#include "interpreter/matcher.h"
#include "interpreter/refusal.h"
#include "interpreter/score.h"
#include "model/player.h"
#include "model/report.h"
#include "script/condition_list.h"
#include "script/game_files.h"
#include "view/output.h"

namespace mireval {

namespace {

// A condition list of a dialogue, after its two-character prefix: true when every number holds.
bool ConditionsHold(const Player& p, const std::string& line) {
  return ConditionListHolds(p.conditions, line, 2, false);
}

bool IsAnswerText(const std::string& s) {
  return !s.empty() && !IsBlockInstruction(s);
}

class Scan {
 public:
  explicit Scan(Player& p) : p_(p), synonyms_(p) {}

  // Runs over the open file; `answers` counts the answers of the last matching block.
  void Run(int& answers) {
    while (!p_.file.Eof()) {
      ReadScriptLine(p_);
      StraightenDashes(p_.line);
      if (EqualsNoCase(p_.line, words::kAutomaticDialogue)) p_.autoDialogue = true;
      Dispatch(answers);
    }
  }
  std::size_t options = 0;  // "ДИ " lines met so far, through both files

 private:
  void Next() {
    ReadPlainLine(p_);
    StraightenDashes(p_.line);
    if (StartsWith(p_.line, words::kAnswer)) ++options;
  }

  // Skips to the block's "КДИАЛ" line. False when the file ended with no line left to read: the
  // scan is then over, since going on with the same header line would never end.
  bool SkipBlock() {
    bool moved = false;
    while (!StartsWith(p_.line, words::kDialogueEnd) && !p_.file.Eof()) {
      Next();
      moved = true;
    }
    return moved;
  }

  // Skips to the next option or the end of the block. A chosen block that ends with its file
  // instead cannot be read: it is reported like reading past the end of the file.
  void SkipOption() {
    while (!StartsWith(p_.line, words::kDialogueEnd) && !StartsWith(p_.line, words::kAnswer) &&
           !p_.file.Eof())
      Next();
    if (!StartsWith(p_.line, words::kDialogueEnd) && !StartsWith(p_.line, words::kAnswer))
      throw ScriptError("dialogue block runs past the end of its file");
  }

  // Handles the current line; returns to the caller's loop with the next line to read.
  void Dispatch(int& answers) {
    for (;;) {
      if (StartsWith(p_.line, words::kAnswer)) ++options;
      if (!StartsWith(p_.line, words::kDialogue)) return;
      if (!CommandMatches(p_, p_.line, true, synonyms_)) {
        if (!SkipBlock()) return;
        continue;
      }
      bool failed = false;
      while (!StartsWith(p_.line, words::kAnswer) && !StartsWith(p_.line, words::kDialogueEnd) &&
             !p_.file.Eof()) {
        Next();
        if (StartsWith(p_.line, words::kConditions) && !ConditionsHold(p_, p_.line)) {
          failed = true;
          break;
        }
      }
      if (failed) {
        if (!SkipBlock()) return;
        continue;
      }
      answers = 0;
      Collect(answers);
      continue;  // the line that ended the block goes through the same tests
    }
  }

  void Collect(int& answers) {
    Next();
    for (;;) {
      if (p_.line == words::kDialogueEnd) return;
      if (StartsWith(p_.line, words::kConditions) && !ConditionsHold(p_, p_.line)) {
        SkipOption();
        continue;
      }
      if (IsAnswerText(p_.line)) {
        if (++answers > 12) throw ScriptError("more than twelve answers");
        p_.answers[static_cast<std::size_t>(answers)].caption = p_.line;
        p_.focus = Focus::AnswerPanel;
        p_.answerOptions[static_cast<std::size_t>(answers)] = options;
        SkipOption();
        continue;
      }
      Next();
    }
  }

  Player& p_;
  const SynonymIndex synonyms_;  // neither the table nor the command changes during the scan
};

void ShowAnswers(Player& p, int answers) {
  Button& close = p.answers[0];
  if (answers == 0 && !close.visible) {
    RefuseCommand(p);
  } else if (answers == 0) {
    PlaceClosingAnswerAlone(p);
  } else {
    static const std::string caption = "<Закончить диалог>"_cp;
    close.caption = caption;
    for (int i = 0; i <= answers; ++i) p.answers[static_cast<std::size_t>(i)].visible = true;
    PlaceAnswers(p, answers);
    StoryTail(p);
  }
  for (int i = answers + 1; i <= 12; ++i) p.answers[static_cast<std::size_t>(i)].visible = false;
}

std::string DialogueErrorText(const Player& p) {
  return LineErrorText(p, p.line);
}

// Plays the block of answer `index`, found by counting the options of both files; false when there
// is none. The block runs on from the open file.
bool PlayAnswer(Player& p, int index) {
  std::size_t options = 0;
  for (const std::string& name : LocationFiles(p)) {
    ScopedGameFile file(p, name);
    while (!p.file.Eof()) {
      ReadScriptLine(p);
      StraightenDashes(p.line);
      if (StartsWith(p.line, words::kAnswer)) ++options;
      if (p.answerOptions[static_cast<std::size_t>(index)] == options) {
        RunCommandBlock(p);
        return true;
      }
    }
  }
  return false;
}

}  // namespace

void OfferDialogue(Player& p) {
  RunScriptStep(
      p, OnScriptError::ReportAndEnd,
      [&] {
        int answers = 0;
        Scan scan(p);
        for (const std::string& name : LocationFiles(p)) {
          ScopedGameFile file(p, name);
          scan.Run(answers);
        }
        ShowAnswers(p, answers);
      },
      [&] { return DialogueErrorText(p); });
  if (p.conditionsChanged) SettleScoreVariables(p);
}

void PlayChosenAnswer(Player& p, int index) {
  RunScriptStep(
      p, OnScriptError::ReportAndEnd,
      [&] {
        if (PlayAnswer(p, index)) SettleScoreVariables(p);
      },
      [&] { return DialogueErrorText(p); });
  OfferDialogue(p);
}

void OnAnswerClicked(Player& p, int index) {
  // The panel is inert while a wait is pending: an answer played inside the wait would wait again
  // inside it, and play past its own conditions, which the rebuild after the wait has not yet seen.
  if (index < 0 || index > 12 || p.outputPaused || WaitPending(p)) return;
  if (!p.answers[static_cast<std::size_t>(index)].visible) return;
  p.focus = Focus::AnswerPanel;
  {
    // Events still queued behind this click (the second click of a double click) are handled
    // before it plays: they wait like any other, or the answer would play twice.
    PendingWait settle(p);
    p.platform.ProcessPendingEvents();
    settle.End();
  }
  if (index == 0) {
    for (Button& b : p.answers) b.visible = false;
    p.story.height = kStoryFullHeight;
    p.focus = Focus::Input;
    return;
  }
  p.moves = p.moves + Variant(1);
  AppendCommandLog(p, p.locationName.Text(), p.answers[static_cast<std::size_t>(index)].caption);
  PlayChosenAnswer(p, index);
  if (p.conditionsChanged) SettleScoreVariables(p);
}

void RunAutomaticDialogue(Player& p) {
  p.commandLine = words::kAutomaticDialogueCommand;
  OfferDialogue(p);
}

}  // namespace mireval
