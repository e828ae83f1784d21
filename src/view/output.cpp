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

enum class Directive { Picture, Sound, Music, Score, Words1, Words2, Scheme, Event, Random };

struct Row {
  std::string_view prefix;
  int cut;
  Directive kind;
};

constexpr std::array<Row, 9> kRows = {{
    {words::kPicture, 3, Directive::Picture},
    {words::kSound, 3, Directive::Sound},
    {words::kMusic, 3, Directive::Music},
    {words::kScore, 3, Directive::Score},
    {words::kWords1, 3, Directive::Words1},
    {words::kWords2, 3, Directive::Words2},
    {words::kColorScheme, 2, Directive::Scheme},
    {words::kEvent, 4, Directive::Event},
    {words::kRandom, 4, Directive::Random},
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
  for (const Row& row : kRows) {
    if (row.kind == Directive::Random) break;  // tested after the two short-line rows
    if (!StartsWith(line, row.prefix)) continue;
    Cut(p, line, row.cut);
    switch (row.kind) {
      case Directive::Picture:
        ShowPictureLine(p, line);
        break;
      case Directive::Sound:
        PlaySoundLine(p, line);
        break;
      case Directive::Music:
        PlayMusicLine(p, line);
        break;
      case Directive::Scheme:
        p.colorScheme = Variant(static_cast<int>(TextToInt16(Mid(line, 7))));
        ApplyColorScheme(p);
        break;
      default:
        break;  // lines that other readers execute
    }
    return;
  }
  if (StartsWith(line, words::kForcedPause) && line.size() <= 3) {
    Cut(p, line, 4);
    p.charactersSincePause = 10000;
  }
  if (StartsWith(line, words::kEmptyLine) && line.size() <= 3) {
    Cut(p, line, 4);
    p.story.Append("\r\n");
  }
  if (StartsWith(line, words::kRandom)) {
    Cut(p, line, 4);
    RandomCondition(p, line);
    return;
  }
  Text(p, line);
}

}  // namespace

void WriteStoryLine(Player& p, const std::string& line) {
  RunScriptStep(
      p, OnScriptError::ReportAndEnd, [&] { Write(p, line); },
      [&] { return LineErrorText(p, line); });
}

}  // namespace mireval
