// What the fuzz targets share: folders of the process's own for the game and the program, the
// input cut into files, and a run of the player whose waits are answered a bounded number of
// times (the scripted platform ends the run when its queued input is used up).
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "support/test_game.h"

namespace mireval::fuzz {

// A working folder and a game folder, kept for the life of the process: every input rewrites the
// files it needs, and whatever a previous input left behind is cleared first.
class Folders {
 public:
  // With `gameToCopy`, the game folder starts as a copy of that folder's files.
  explicit Folders(const std::filesystem::path& gameToCopy = {});
  const std::filesystem::path& work() const { return work_; }
  const std::filesystem::path& game() const { return game_; }
  // The game folder as the game state holds it (Windows-1251, with a trailing separator).
  std::string GameDir() const;
  // Writes bytes into the game folder.
  void Write(const std::string& name, std::string_view bytes) const;
  // Removes what a run leaves in the working folder (temps.dat, logfile.txt) and the save files
  // of the game folder.
  void Clean() const;

 private:
  TempDir root_;
  std::filesystem::path work_, game_;
};

// The input cut at its first `count - 1` NUL bytes; missing parts are empty.
std::vector<std::string_view> SplitInput(const std::uint8_t* data, std::size_t size,
                                         std::size_t count);

// Runs `play` until it returns, the program ends (an error report or an exit command) or the
// queued input is used up, which is how every run that waits for the player ends.
void Play(Player& p, const std::function<void()>& play);

// Queues typing each line (at most `limit` of them) followed by `afterEach`, then `enters` bare
// Enter keys for the pauses and transitions that follow.
void QueueLines(ScriptedPlatform& platform, std::string_view lines, std::size_t limit,
                const std::function<void(Player&)>& afterEach, int enters);

}  // namespace mireval::fuzz
