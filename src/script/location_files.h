// The files a scan of the running game reads: the current location's and the common one.
#pragma once

#include <array>
#include <functional>
#include <string>

namespace mireval {

struct Player;

// "room" + the location number + ".txt".
std::string CurrentRoomFile(const Player& p);

// The two files that every scan of the running game reads, in order: the current location's, then
// the common file room0.txt.
std::array<std::string, 2> LocationFiles(const Player& p);

// Reads the lines after the first of both LocationFiles into p.line, calling `each` for every
// one; each file (and its decoded copy) is closed once read. A ScriptError leaves the file open for
// the caller's error handling to close.
void ForEachLocationLine(Player& p, const std::function<void()>& each);

}  // namespace mireval
