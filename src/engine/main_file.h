#pragma once

namespace mireval {

struct Player;

// Starts the game in GameDir: resets the state, reads main.txt, shows the introduction and enters
// location 1. A missing or short main file throws ScriptError for the caller to report.
void NewGame(Player& p);

}  // namespace mireval
