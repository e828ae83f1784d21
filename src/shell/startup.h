#pragma once

#include <filesystem>

namespace mireval {

struct Player;

// The start-up sequence of the window: cover text, autostart, layout.
void Form_Load(Player& p);
// Replaces the story area with obloz.txt from the working folder (empty when it is missing).
void ShowCover(Player& p);

// Starts the game whose folder holds the chosen main file, as a click on it in the game browser
// does. A game that cannot start is reported and the running game (if any) goes on.
void StartGameInFolder(Player& p, const std::filesystem::path& folder);

}  // namespace mireval
