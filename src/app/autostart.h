// Autostart: start.txt in the working folder names the folder of a game shipped with the player.
#pragma once

namespace mireval {

struct Player;

// Points the browser at the autostart game's folder and, when that folder holds no save files,
// starts the game there at once. No start.txt, or an empty first line, does nothing. A folder that
// does not exist, or a game that cannot start, is reported and ends the program. Neither does
// anything in a run whose game was named on the command line (startFileIgnored).
void AutoStart(Player& p);

// Only points the browser at the autostart game's folder (before the load dialog).
void AutoStartDir(Player& p);

}  // namespace mireval
