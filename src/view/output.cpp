#include "view/output.h"

#include <array>
#include <limits>

#include "base/script_error.h"
#include "base/text.h"
#include "base/variant.h"
#include "base/vocabulary.h"
#include "model/player.h"
#include "model/report.h"
#include "view/colors.h"
#include "view/media.h"

namespace mireval {

const std::string& PausePrompt() {
  static const std::string prompt = "< Нажмите Enter для продолжения >"_cp;
  return prompt;
}

void StoryTail(Player& p) {
  if (p.story.text.size() > kStoryLimit) p.story.DropFirst(kStoryKeepFrom - 1);
  p.story.caret = p.story.text.size();
}

namespace {

struct Row {
  std::string_view prefix;
  int cut;
  StoryDirective kind;
};

constexpr std::array<Row, 8> kRows = {{
    {words::kPicture, 3, StoryDirective::Picture},
    {words::kSound, 3, StoryDirective::Sound},
    {words::kMusic, 3, StoryDirective::Music},
    {words::kScore, 3, StoryDirective::Score},
    {words::kWords1, 3, StoryDirective::Words1},
    {words::kWords2, 3, StoryDirective::Words2},
    {words::kColorScheme, 2, StoryDirective::Scheme},
    {words::kEvent, 4, StoryDirective::Event},
}};

// Cuts the directive line back out of the story area, with `k` characters around it. A cut larger
// than the story area empties it (a directive as the very first line must not end the game).
void Cut(Player& p, const std::string& line, int k) {
  std::size_t remove = line.size() + static_cast<std::size_t>(k);
  p.story.KeepFirst(p.story.text.size() > remove ? p.story.text.size() - remove : 0);
}

void RandomCondition(Player& p, const std::string& line) {
  std::size_t blank = line.find(' ', 4);
  if (blank == std::string::npos) throw ScriptError("random condition without a chance");
  int n = TextToInt16(line.substr(4, blank - 4));
  int chance = TextToInt16(line.substr(blank + 1));
  p.rng.Reseed(p.platform.ClockSeed());
  double r = p.rng.Next();
  p.conditions.Set(n, r * 100 < chance);
}

void Pause(Player& p, bool dialogue) {
  p.story.Append(PausePrompt());
  StoryTail(p);
  p.outputPaused = true;
  if (!dialogue) p.focus = Focus::Input;
  p.pauseWaiting = true;
  PendingWait wait(p);
  while (p.pauseWaiting) {
    if (dialogue) p.focus = Focus::AnswerPanel;
    p.platform.PumpEvents();
  }
  wait.End();
  std::size_t len = PausePrompt().size();
  p.story.KeepFirst(p.story.text.size() > len ? p.story.text.size() - len : 0);
  p.charactersSincePause = 0;
  p.outputPaused = false;
}

void Text(Player& p, const std::string& line) {
  p.input.SetText("");
  long long count =
      static_cast<long long>(p.charactersSincePause) + static_cast<long long>(line.size());
  for (char c : line)
    if (c == '\r') count += 30;
  if (count > std::numeric_limits<std::int32_t>::max()) throw ScriptError("overflow");
  p.charactersSincePause = static_cast<std::int32_t>(count);
  p.outputPaused = false;
  if (p.charactersSincePause >= kPauseThreshold && !p.DialoguePanelShown()) Pause(p, false);
  if (p.charactersSincePause >= kPauseThresholdDialogue && p.DialoguePanelShown()) Pause(p, true);
}

void Write(Player& p, const std::string& line) {
  const std::optional<DirectiveLine> directive = StoryLineDirective(line);
  if (!directive) {
    Text(p, line);
    return;
  }
  Cut(p, line, directive->cut);
  switch (directive->kind) {
    case StoryDirective::Picture:
      ShowPictureLine(p, line);
      return;
    case StoryDirective::Sound:
      PlaySoundLine(p, line);
      return;
    case StoryDirective::Music:
      PlayMusicLine(p, line);
      return;
    case StoryDirective::Scheme:
      p.colorScheme = Variant(static_cast<int>(TextToInt16(Mid(line, 7))));
      ApplyColorScheme(p);
      return;
    case StoryDirective::Score:
    case StoryDirective::Words1:
    case StoryDirective::Words2:
    case StoryDirective::Event:
      return;  // lines that other readers execute
    case StoryDirective::Pause:
      p.charactersSincePause = 10000;
      break;  // the text count below then pauses
    case StoryDirective::EmptyLine:
      p.story.Append("\r\n");
      break;
    case StoryDirective::Random:
      RandomCondition(p, line);
      return;
  }
  Text(p, line);
}

}  // namespace

std::optional<DirectiveLine> StoryLineDirective(std::string_view line) {
  for (const Row& row : kRows)
    if (StartsWith(line, row.prefix)) return DirectiveLine{row.kind, row.cut};
  // The two short lines are tested after the rows, and the chance line after them.
  if (StartsWith(line, words::kForcedPause) && line.size() <= 3)
    return DirectiveLine{StoryDirective::Pause, 4};
  if (StartsWith(line, words::kEmptyLine) && line.size() <= 3)
    return DirectiveLine{StoryDirective::EmptyLine, 4};
  if (StartsWith(line, words::kRandom)) return DirectiveLine{StoryDirective::Random, 4};
  return std::nullopt;
}

void WriteStoryLine(Player& p, const std::string& line) {
  RunScriptStep(
      p, OnScriptError::ReportAndEnd, [&] { Write(p, line); },
      [&] { return LineErrorText(p, line); });
}

}  // namespace mireval
