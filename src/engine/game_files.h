// Reading game files on the one cursor, with scrambled files decoded on the fly.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace mireval {

struct Player;
class Variant;

// GameDir + name, resolved case-insensitively.
std::filesystem::path GamePath(const Player& p, std::string_view name);
// "room" + the location number as the script wrote it + ".txt".
std::string RoomFileName(const Variant& room);

// Opens a file of the game folder on the cursor. Throws ScriptError when it cannot be read.
void OpenGameFile(Player& p, std::string_view name);

// Reads the next line into Stroka. When the line is one of the two marker lines, the rest of the
// file is decoded into temps.dat, the cursor moves to that copy and Stroka holds its first line.
void ReadScriptLine(Player& p);
// Reads the next line into Stroka with no marker test.
void ReadPlainLine(Player& p);

// Closes the cursor. The "tracking" readers then delete temps.dat when they read through it.
void CloseGameFile(Player& p);
void CloseGameFileAndTemp(Player& p);

// Decoding of the rest of the open file after a marker line (ordinary and strong variant).
void REShifr(Player& p);
void REShifrStrong(Player& p);

}  // namespace mireval
