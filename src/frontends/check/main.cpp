// mircheck: reads every file of a game folder without playing it and lists what an author should
// mend, one finding a line, in the form editors jump from.
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "base/command_line.h"
#include "checker/findings.h"
#include "checker/game_check.h"

namespace {

constexpr mireval::ProgramUsage kUsage = {
    "mircheck", "mircheck [--json] [--strict] GAME_DIR",
    "Reads every file of a game folder without playing it and prints one finding a line:\n"
    "  FILE:LINE: error|warning: TEXT [CODE]\n"
    "sorted by file and line. An error breaks play; a warning is sometimes meant, usually not.\n"
    "\n"
    "  --json      the findings as one JSON object\n"
    "  --strict    warnings fail the check too\n"
    "  --help      this text\n"
    "  --version   the program's version\n"
    "\n"
    "Exit status: 0 no errors, 1 errors (with --strict, also warnings), 2 usage error.\n"
    "\n"
    "Example: mircheck games/demo\n"};

}  // namespace

int main(int argc, char** argv) {
  using mireval::check::Severity;
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (const std::optional<int> answered = mireval::AnswerHelpOrVersion(kUsage, args, std::cout))
    return *answered;
  bool json = false, strict = false;
  std::optional<std::string> folder;
  for (const std::string& arg : args) {
    if (arg == "--json") {
      json = true;
    } else if (arg == "--strict") {
      strict = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      return mireval::UsageError(kUsage, "unknown option " + arg, std::cerr);
    } else if (folder) {
      return mireval::UsageError(kUsage, "more than one game folder", std::cerr);
    } else {
      folder = arg;
    }
  }
  if (!folder) return mireval::UsageError(kUsage, "no game folder", std::cerr);
  std::error_code ec;
  if (!std::filesystem::is_directory(*folder, ec))
    return mireval::UsageError(kUsage, "no such folder: " + *folder, std::cerr);

  const mireval::check::Findings findings = mireval::check::CheckGame(*folder);
  const auto sorted = findings.Sorted();
  if (json) {
    std::cout << mireval::check::FindingsJson(sorted) << "\n";
  } else {
    for (const auto& f : sorted) std::cout << mireval::check::FindingLine(f) << "\n";
  }
  const int errors = findings.Count(Severity::Error);
  const int warnings = findings.Count(Severity::Warning);
  if (!json) std::cerr << "mircheck: errors: " << errors << ", warnings: " << warnings << "\n";
  return errors > 0 || (strict && warnings > 0) ? 1 : 0;
}
