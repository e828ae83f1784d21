// The running player: the game state, the window model, the reading cursor and the generator, and
// the port to the outside. Every procedure of the player is a free function taking Player&.
#pragma once

#include <filesystem>
#include <string_view>

#include "engine/game_state.h"
#include "engine/random.h"
#include "engine/script_reader.h"
#include "platform/platform.h"
#include "shell/form.h"

namespace mireval {

struct Player : GameState, Form {
  Player(Platform& platform, std::filesystem::path workDir);
  Player(const Player&) = delete;
  Player& operator=(const Player&) = delete;

  Platform& platform;
  // The program's working folder: obloz.txt, start.txt, ifgames.txt, editor.txt, logfile.txt and
  // temps.dat live here.
  std::filesystem::path workDir;
  ScriptReader file;  // the one reading cursor over game files
  Random rng;
  // logfile.txt could not be written and the player has been told; not repeated in this run.
  bool logFailureReported = false;

  std::filesystem::path WorkFile(std::string_view name) const { return workDir / name; }
};

}  // namespace mireval
