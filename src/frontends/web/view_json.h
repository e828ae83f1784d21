#pragma once

#include <string>

namespace mireval {

struct Player;

// Everything the page draws, as one JSON object (UTF-8): the terminal player's state report
// (StateJson) and what only a window needs besides (README.md lists the fields).
std::string ViewJson(const Player& p);

}  // namespace mireval
