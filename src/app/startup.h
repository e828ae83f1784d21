#pragma once

#include <filesystem>

namespace mireval {

struct Player;

// The start-up sequence of the window: cover text, autostart, layout.
void StartPlayer(Player& p);
// Replaces the story area with obloz.txt from the working folder (empty when it is missing).
void ShowCover(Player& p);

// Starts the game in `folder` as choosing its main file in the game browser does. A game that
// cannot start is reported naming its main file, and the running game (if any) goes on.
void StartGameInFolder(Player& p, const std::filesystem::path& folder);

}  // namespace mireval
