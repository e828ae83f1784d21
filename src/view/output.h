// The output writer: every line of game text is appended to the story area by its caller and then
// handed to WriteStoryLine, which carries out directive lines (cutting them back out) and pages
// long text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace mireval {

struct Player;

constexpr int kPauseThreshold = 1250;          // while the answer panel is hidden
constexpr int kPauseThresholdDialogue = 1000;  // while it is shown
constexpr std::size_t kStoryLimit = 16000;
constexpr std::size_t kStoryKeepFrom = 10000;  // 1-based: the first 9999 characters go

void WriteStoryLine(Player& p, const std::string& line);

// The lines the writer carries out instead of showing.
enum class StoryDirective {
  Picture,
  Sound,
  Music,
  Score,
  Words1,
  Words2,
  Scheme,
  Event,
  Pause,
  EmptyLine,
  Random
};
struct DirectiveLine {
  StoryDirective kind;
  // The writer cuts the line back out of the story with this many characters more: what its
  // caller appended around it, and, where the cut is larger, the end of the text before it.
  int cut;
};
// What the writer does with a story line; nothing for a line it shows as text.
std::optional<DirectiveLine> StoryLineDirective(std::string_view line);

// Trims an overlong story area and moves its caret to the end.
void StoryTail(Player& p);

// The pause prompt, as the story area shows it.
const std::string& PausePrompt();

}  // namespace mireval
