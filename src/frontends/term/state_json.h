#pragma once

#include <string>

namespace mireval {

struct Player;

// The one-line JSON state report of the terminal player (UTF-8).
std::string StateJson(const Player& p);

// A JSON string literal for a Windows-1251 text.
std::string JsonString(const std::string& cp1251);

}  // namespace mireval
