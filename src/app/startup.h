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

// Opens what the command line named, as a file manager passes it: a game folder, a file of one
// (its main.txt), or a save file, whose game is loaded and goes on. Whatever cannot be opened is
// reported as the game browser reports it, and the player stays where it was.
void OpenFromCommandLine(Player& p, const std::filesystem::path& named);

}  // namespace mireval
