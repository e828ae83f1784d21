// Score variables: derived conditions recomputed from other conditions and the character points.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace mireval {

struct Player;

// One term of a score line's sum, in the order the line writes them.
struct ScoreTerm {
  enum Kind : std::uint8_t { IfTrue, IfFalse, AddGood, AddEvil, SubGood, SubEvil };
  Kind kind;
  int condition = 0;  // for IfTrue and IfFalse
  bool operator==(const ScoreTerm&) const = default;
};

// What a score-variable line says: the condition it defines, the sum to build and the thresholds
// (0: none) to compare it with.
struct ScoreLine {
  long condition = 0;
  std::vector<ScoreTerm> terms;
  int lower = 0, upper = 0;
  bool usesPoints = false;  // a term reads the good or the evil points
  // The line as the error report quotes it: blanks removed, "+" inserted after "=" before a digit,
  // "+" appended.
  std::string quoted;
};

// A score-variable line that cannot be read: what the error report quotes, the line as far as it
// was transformed and the last condition number taken (0 if none).
struct ScoreLineFault {
  std::string quoted;
  long condition = 0;
};

// A line that says "ПС " at its start (any case), longer than that.
bool IsScoreLine(std::string_view line);

// Reads a score-variable line, blanks and all, without a player: the faults of the line itself
// (no condition number, a number that is no 16-bit integer) come back as a fault. Those that depend
// on the state (a condition out of range, points that are no number) show when it is evaluated.
std::variant<ScoreLine, ScoreLineFault> ParseScoreLine(std::string_view line);

// The value the line gives its condition now; throws ScriptError for a condition number out of
// range or points that are no number.
bool EvaluateScoreLine(const Player& p, const ScoreLine& line);

// Recomputes every score variable of the current location and of room0.txt until they settle,
// firing the events of conditions that turn True, then refills the word columns.
void SettleScoreVariables(Player& p);

// Removes every blank from the text (the argument too) and returns it.
std::string& RemoveBlanks(std::string& text);

// Conditions 0 (the good side leads or ties) and 3000 (neither side leads fourfold beyond 4
// points), from the character points: a rule of the game that status and scripts both read.
void SettleCharacterConditions(Player& p);
// The character conditions settled, then the status line drawn from them.
void RefreshStatus(Player& p);

}  // namespace mireval
