// Score variables: derived conditions recomputed from other conditions and the character points.
#pragma once

#include <string>

namespace mireval {

struct Player;

// Recomputes every score variable of the current location and of room0.txt until they settle,
// firing the events of conditions that turn True, then refills the word columns.
void PodschetPS(Player& p);

// Removes every blank from the text (the argument too) and returns it.
std::string& UbratProbely(std::string& text);

// Conditions 0 (the good side leads or ties) and 3000 (neither side leads fourfold beyond 4
// points), from the character points: a rule of the game that status and scripts both read.
void SettleCharacterConditions(Player& p);
// The character conditions settled, then the status line drawn from them.
void RefreshStatus(Player& p);

}  // namespace mireval
