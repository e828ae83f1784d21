// The conventions every program's command line keeps: --help prints the usage with an example on
// standard output, --version the program's name and version, both ending with status 0; a
// mistake in the command line prints what is wrong and the usage on standard error, status 2.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mireval {

constexpr int kExitUsage = 2;

struct ProgramUsage {
  std::string_view name;      // "mirterm"
  std::string_view synopsis;  // "mirterm [--seed N] [--strict] [GAME_DIR]"
  std::string_view details;   // what it does, its options, one example; UTF-8, lines ending "\n"
};

// The version of the whole program set, as the build names it.
std::string_view ProgramVersion();

// When `args` (without the program's name) asks for --help or --version, answers it on `out` and
// gives the exit status.
std::optional<int> AnswerHelpOrVersion(const ProgramUsage& usage,
                                       const std::vector<std::string>& args, std::ostream& out);

// Says what is wrong with the command line and how to call the program, on `err`; gives
// kExitUsage.
int UsageError(const ProgramUsage& usage, std::string_view problem, std::ostream& err);

// The usage as --help prints it.
std::string UsageText(const ProgramUsage& usage);

}  // namespace mireval
