#pragma once

#include <string>

namespace mireval {

struct Player;

// "room" + Room + ".txt".
std::string CurrentRoomFile(const Player& p);

// Describes location Room: its name from the header, the best description block whose conditions
// hold, written through the output writer.
void ShowRoom(Player& p);

}  // namespace mireval
