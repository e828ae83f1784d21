#include "base/command_line.h"

#include <ostream>

namespace mireval {

std::string_view ProgramVersion() {
  return MIREVAL_VERSION;
}

std::string UsageText(const ProgramUsage& usage) {
  return "Usage: " + std::string(usage.synopsis) + "\n" + std::string(usage.details);
}

std::optional<int> AnswerHelpOrVersion(const ProgramUsage& usage,
                                       const std::vector<std::string>& args, std::ostream& out) {
  for (const std::string& arg : args) {
    if (arg == "--") break;  // what follows is no option
    if (arg == "--help" || arg == "-h") {
      out << UsageText(usage);
      return 0;
    }
    if (arg == "--version") {
      out << usage.name << " " << ProgramVersion() << "\n";
      return 0;
    }
  }
  return std::nullopt;
}

int UsageError(const ProgramUsage& usage, std::string_view problem, std::ostream& err) {
  err << usage.name << ": " << problem << "\n" << UsageText(usage);
  return kExitUsage;
}

}  // namespace mireval
