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

constexpr int kExitUsage = 2;
constexpr int kExitExpectationFailed = 4;

struct Options {
  std::optional<long> seed;
  bool strict = false;
  std::optional<std::filesystem::path> gameDir;
};

std::nullopt_t Usage(const std::string& problem) {
  std::cerr << "mirterm: " << problem << " (usage: mirterm [--seed N] [--strict] [GAME_DIR])\n";
  return std::nullopt;
}

// The whole of `text` as a decimal number.
std::optional<long> WholeNumber(const char* text) {
  char* end = nullptr;
  long n = std::strtol(text, &end, 10);
  if (!end || *end != '\0' || end == text) return std::nullopt;
  return n;
}

// The options of the command line, or nothing after a usage message.
std::optional<Options> ReadOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--seed") {
      options.seed = i + 1 < argc ? WholeNumber(argv[++i]) : std::nullopt;
      if (!options.seed) return Usage("--seed needs a number");
    } else if (arg == "--strict") {
      options.strict = true;
    } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
      return Usage("unknown option " + arg);
    } else if (options.gameDir) {
      return Usage("more than one game folder");
    } else {
      std::error_code ec;
      if (!std::filesystem::is_directory(arg, ec)) return Usage("no such folder: " + arg);
      options.gameDir = std::filesystem::weakly_canonical(std::filesystem::absolute(arg, ec), ec);
    }
  }
  return options;
}

// Starts the player (and the game, when one was named), then plays until the program ends.
int Play(const Options& options) {
  mireval::TermPlatform platform(std::cin, std::cout, options.seed, options.strict);
  mireval::Player player(platform, std::filesystem::current_path());
  platform.Attach(player);
  // The game named on the command line is the one to play, whatever start.txt names.
  player.startFileIgnored = options.gameDir.has_value();
  try {
    mireval::RunEventHandler(player, [&] { mireval::StartPlayer(player); });
    if (options.gameDir)
      mireval::RunEventHandler(player,
                               [&] { mireval::StartGameInFolder(player, *options.gameDir); });
    for (;;) platform.PumpEvents();
  } catch (const mireval::TermExit& e) {
    // A walkthrough plays on to its end after a failed expectation, so that one run lists them all.
    return e.status == mireval::kExitNormal && platform.Failed() ? kExitExpectationFailed
                                                                 : e.status;
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<Options> options = ReadOptions(argc, argv);
  return options ? Play(*options) : kExitUsage;
}
