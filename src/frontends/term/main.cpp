// mirterm: plays a game in a terminal, reading input lines and printing the transcript.
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "app/startup.h"
#include "frontends/term/term_platform.h"
#include "model/player.h"

namespace {

int Usage(const std::string& problem) {
  std::cerr << "mirterm: " << problem << " (usage: mirterm [--seed N] [GAME_DIR])\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::optional<long> seed;
  std::optional<std::filesystem::path> gameDir;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--seed") {
      if (i + 1 >= argc) return Usage("--seed needs a number");
      char* end = nullptr;
      long n = std::strtol(argv[++i], &end, 10);
      if (!end || *end != '\0' || end == argv[i]) return Usage("--seed needs a number");
      seed = n;
    } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
      return Usage("unknown option " + arg);
    } else if (gameDir) {
      return Usage("more than one game folder");
    } else {
      std::error_code ec;
      if (!std::filesystem::is_directory(arg, ec)) return Usage("no such folder: " + arg);
      gameDir = std::filesystem::weakly_canonical(std::filesystem::absolute(arg, ec), ec);
    }
  }

  mireval::TermPlatform platform(std::cin, std::cout, seed);
  mireval::Player player(platform, std::filesystem::current_path());
  platform.Attach(player);
  try {
    mireval::RunEventHandler(player, [&] { mireval::StartPlayer(player); });
    if (gameDir)
      mireval::RunEventHandler(player, [&] { mireval::StartGameInFolder(player, *gameDir); });
    for (;;) platform.PumpEvents();
  } catch (const mireval::TermExit& e) {
    return e.status;
  }
}
