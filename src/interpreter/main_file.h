#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>

namespace mireval {

struct Player;

// What a game's main file says.
struct MainFile {
  std::string title;
  std::string colorScheme;
  std::array<std::string, 7> words;  // [1..6], the character vocabulary when the file names it
  bool hasWords = false;
};

// Reads the main file of `folder` without changing anything of the running game. One that is not
// a quest's main file is reported: nothing. A missing or short one throws ScriptError for the
// caller to report.
std::optional<MainFile> ReadMainFile(Player& p, const std::filesystem::path& folder);

// Starts the game of `folder` (which becomes the game folder) as its main file says: resets the
// state, shows the introduction and enters location 1.
void BeginNewGame(Player& p, const std::filesystem::path& folder, const MainFile& main);

// Both steps; false when the folder holds no quest (reported, nothing changed). A main file that
// cannot be read throws ScriptError, also with nothing changed.
bool NewGame(Player& p, const std::filesystem::path& folder);
// The same in the game folder as it stands.
bool NewGame(Player& p);

}  // namespace mireval
