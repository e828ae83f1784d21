// The main file: the input is main.txt of the demo game, started as choosing it in the game
// browser does, then played for a few commands.
#include <cstddef>
#include <cstdint>

#include "app/startup.h"
#include "base/text.h"
#include "fuzz_game.h"

using namespace mireval;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fuzz::Folders folders(DEMO_GAME_DIR);
  folders.Clean();
  folders.Write("main.txt", std::string_view(reinterpret_cast<const char*>(data), size));

  ScriptedPlatform platform;
  Player p(platform, folders.work());
  platform.Attach(p);
  fuzz::QueueLines(platform, "\nвещи\nотладка 3000\nсевер\n\n"_cp, 8, nullptr, 4);
  fuzz::Play(p, [&] {
    StartGameInFolder(p, folders.game());
    for (;;) platform.PumpEvents();
  });
  return 0;
}
