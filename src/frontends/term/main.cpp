// mirterm: plays a game in a terminal, reading input lines and printing the transcript.
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/startup.h"
#include "base/command_line.h"
#include "frontends/term/term_platform.h"
#include "model/player.h"

namespace {

constexpr int kExitExpectationFailed = 4;

constexpr mireval::ProgramUsage kUsage = {
    "mirterm", "mirterm [--seed N] [--strict] [GAME_DIR]",
    "Plays a text quest in the terminal: the game's text on standard output, the player's lines\n"
    "from standard input. With GAME_DIR that game starts at once; without it, the game that\n"
    "start.txt of the current folder names, or the cover.\n"
    "\n"
    "  --seed N    random conditions repeat exactly from run to run\n"
    "  --strict    a script error, or a typed line lost while the game waited, fails the run\n"
    "  --help      this text\n"
    "  --version   the program's version\n"
    "\n"
    "Lines beginning with \"/\" are the terminal's own: /word, /answer, /state, /quit and the\n"
    "others the README lists, among them checks for walkthroughs: /expect TEXT,\n"
    "/expect-not TEXT, /condition N on|off, /room N.\n"
    "Exit status: 0 normal end, 2 usage error, 3 the game ended after an error report,\n"
    "4 a failed check.\n"
    "\n"
    "Example: mirterm --seed 1 --strict games/demo < walkthrough.txt\n"};

struct Options {
  std::optional<long> seed;
  bool strict = false;
  std::optional<std::filesystem::path> gameDir;
};

std::nullopt_t Usage(const std::string& problem) {
  mireval::UsageError(kUsage, problem, std::cerr);
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
  if (const std::optional<int> answered = mireval::AnswerHelpOrVersion(
          kUsage, std::vector<std::string>(argv + 1, argv + argc), std::cout))
    return *answered;
  const std::optional<Options> options = ReadOptions(argc, argv);
  return options ? Play(*options) : mireval::kExitUsage;
}
