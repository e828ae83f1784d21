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

}  // namespace mireval
