// Saved games: the record file <name>.sav in the game folder, written by the save command and
// restored from the game browser in load mode.
//
// The file is 11003 lines of comma-separated records: line 1 the location, good and evil points,
// moves and the game's title; line 2 the six character words; lines 3..1002 the picture register;
// lines 1003..11003 one number per condition 0..10000. A text value is written in double quotes
// (a quote inside it doubled), a number bare.
#pragma once

#include <filesystem>

#include <string>

namespace mireval {

struct Player;

constexpr int kSaveFileLines = 11003;

// Asks for a name and writes the running game to the game folder + name + ".sav", replacing a file
// of that name only once the new one is complete. True when the game was written; a refused name or
// a failed write is reported and leaves everything as it was.
bool SaveGame(Player& p);

// Shows the browser in load mode: the save files of the folder shown.
void LoadGameDialog(Player& p);

// Restores the game saved in the file of `folder` (named as written, letter case ignored; the
// folder becomes the game folder) and describes its location. A missing, short or damaged file is
// reported naming it and changes nothing: false.
bool LoadSavedGame(Player& p, const std::filesystem::path& folder, const std::string& fileName);

// The player chose a save in the browser: it is read, and anything to ask is asked, at once; the
// game it holds starts as StartGame starts games (after a pending wait has unwound). False when
// it cannot be loaded or the player declined.
bool ChooseSavedGame(Player& p, const std::filesystem::path& folder, const std::string& fileName);

}  // namespace mireval
