#include "interpreter/execution.h"

#include <optional>

#include "base/script_error.h"
#include "base/text.h"
#include "base/variant.h"
#include "base/vocabulary.h"
#include "interpreter/refusal.h"
#include "interpreter/score.h"
#include "interpreter/transition.h"
#include "model/player.h"
#include "model/report.h"
#include "script/condition_list.h"
#include "script/game_files.h"
#include "view/output.h"
#include "view/status.h"

namespace mireval {

namespace {

bool IsPrinted(const std::string& line) {
  return !IsBlockInstruction(line) && !StartsWith(line, words::kGoTo);
}

void AddPoint(Variant& points) {
  points = points + Variant(1);
}

// Runs the block; returns the location to move to when it ended with "ИД ".
std::optional<long> RunBlock(Player& p) {
  if (!IsAutoDialogueCommand(p)) p.story.Append("\r\n> " + p.commandLine);
  p.story.Append("\r\n");
  p.charactersSincePause = 0;
  while (p.line.size() > 1 && !p.file.Eof()) {
    ReadPlainLine(p);
    StraightenDashes(p.line);
    if (!p.line.empty() && p.line.back() != ' ') p.line += ' ';
    const std::string line = p.line;
    if (StartsWith(line, words::kSetConditions)) SetConditionsLine(p, line);
    if (IsPrinted(line)) {
      p.story.Append("\r\n" + line);
      StoryTail(p);
      WriteStoryLine(p, line);
    }
    if (StartsWith(line, words::kGoodPoint)) AddPoint(p.character[1]);
    if (StartsWith(line, words::kEvilPoint)) AddPoint(p.character[2]);
    if (StartsWith(line, words::kGoTo)) return IntVal(Mid(line, 3));
  }
  return std::nullopt;
}

}  // namespace

void RunCommandBlock(Player& p) {
  std::optional<long> target;
  RunScriptStep(
      p, OnScriptError::ReportAndEnd, [&] { target = RunBlock(p); },
      [&] { return LineErrorText(p, p.line); });
  // The decoded copy of a scrambled file is removed as soon as the block is done with it, so the
  // plain text of a location does not lie about in the working folder between commands.
  CloseGameFile(p);
  if (target) {
    MoveToLocation(p, *target);  // refreshes the status line itself
    return;
  }
  RunScriptStep(
      p, OnScriptError::ReportAndEnd,
      [&] {
        if (p.conditionsChanged) SettleScoreVariables(p);
        RefreshStatus(p);
      },
      [&] { return LineErrorText(p, p.line); });
}

bool IsBlockInstruction(std::string_view line) {
  for (std::string_view prefix : {words::kEvilPoint, words::kGoodPoint, words::kDialogueEnd,
                                  words::kAnswer, words::kConditions, words::kSetConditions})
    if (StartsWith(line, prefix)) return true;
  return false;
}

void SetConditionsLine(Player& p, std::string line) {
  // A bad number spoils only this line: the block goes on with what was set so far.
  RunScriptStep(
      p, OnScriptError::ReportAndGoOn,
      [&] {
        ForEachListedCondition(line, 2, false, false, [&](std::string_view digits, bool value) {
          const long n = IntVal(digits);
          if (p.conditions.Get(n) != value) p.conditionsChanged = true;
          p.conditions.Set(n, value);
        });
      },
      [&] { return LineErrorText(p, line); });
}

}  // namespace mireval
