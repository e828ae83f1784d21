// Reading game files on the one cursor, with scrambled files decoded on the fly.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace mireval {

struct GameState;
struct Player;
class Variant;

// Points the game state at a game folder on this machine (gameFolderText follows as its text).
void SetGameFolder(GameState& g, const std::filesystem::path& folder);

// A file of the game folder named as the game's files write names ("\" separates folders, letter
// case is ignored). Nothing for a name that leads outside the game folder, by ".." or by a link.
std::optional<std::filesystem::path> FindGameFile(const Player& p, std::string_view name);
// The same in a game folder that is not the running game's (yet).
std::optional<std::filesystem::path> FindGameFile(const std::filesystem::path& folder,
                                                  std::string_view name);
// The same, throwing ScriptError where FindGameFile gives nothing.
std::filesystem::path GamePath(const Player& p, std::string_view name);
// "room" + the location number as the script wrote it + ".txt".
std::string RoomFileName(const Variant& room);

// Opens a file of the game folder on the cursor. Throws ScriptError when it cannot be read.
void OpenGameFile(Player& p, std::string_view name);

// The cursor opened on a game file for the length of a scope: closed when the scope is left, by
// its end, a script error or a game replaced during a wait. Whoever reads on from the open file
// (a command block) may close it sooner; closing twice is harmless.
class ScopedGameFile {
 public:
  ScopedGameFile(Player& p, std::string_view name);
  ~ScopedGameFile();
  ScopedGameFile(const ScopedGameFile&) = delete;
  ScopedGameFile& operator=(const ScopedGameFile&) = delete;

 private:
  Player& p_;
};

// Reads the next line into `line`. When the line is one of the two marker lines, the rest of the
// file is decoded in memory, the cursor moves to the decoded text and `line` holds its first line.
void ReadScriptLine(Player& p);
// Reads the next line into `line` with no marker test.
void ReadPlainLine(Player& p);

// Closes the cursor.
void CloseGameFile(Player& p);

}  // namespace mireval
