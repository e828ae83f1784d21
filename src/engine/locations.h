#pragma once

#include <array>
#include <string>

namespace mireval {

struct Player;

// "room" + Room + ".txt".
std::string CurrentRoomFile(const Player& p);

// The two files that every scan of the running game reads, in order: the current location's, then
// the common file room0.txt.
std::array<std::string, 2> LocationFiles(const Player& p);

// Describes location Room: its name from the header, the best description block whose conditions
// hold, written through the output writer.
void ShowRoom(Player& p);

}  // namespace mireval
