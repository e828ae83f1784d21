#pragma once

#include <string>

namespace mireval {

struct Player;

// The one-line JSON state report of the terminal player (UTF-8).
std::string StateJson(const Player& p);

}  // namespace mireval
