// mircheck: reads every file of a game folder without playing it and lists what an author should
// mend, one finding a line, in the form editors jump from.
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "checker/findings.h"
#include "checker/game_check.h"

namespace {

constexpr const char* kUsage =
    "Использование: mircheck [--json] [--strict] ПАПКА-ИГРЫ\n"
    "Проверяет файлы игры, не играя в нее, и печатает по строке на каждую находку:\n"
    "  файл:строка: error|warning: текст [код]\n"
    "  --json    то же одним объектом JSON\n"
    "  --strict  завершаться с кодом 1 и при одних предупреждениях\n"
    "Код завершения: 0 — ошибок нет, 1 — есть ошибки, 2 — неверный вызов.\n";

int Usage(const char* problem) {
  std::fprintf(stderr, "mircheck: %s\n%s", problem, kUsage);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  using mireval::check::Severity;
  bool json = false, strict = false;
  const char* folder = nullptr;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--json") {
      json = true;
    } else if (arg == "--strict") {
      strict = true;
    } else if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (arg.size() > 1 && arg[0] == '-') {
      return Usage(("неизвестный ключ " + std::string(arg)).c_str());
    } else if (folder) {
      return Usage("укажите одну папку игры");
    } else {
      folder = argv[i];
    }
  }
  if (!folder) return Usage("не указана папка игры");
  std::error_code ec;
  if (!std::filesystem::is_directory(folder, ec))
    return Usage(("нет такой папки: " + std::string(folder)).c_str());

  const mireval::check::Findings findings = mireval::check::CheckGame(folder);
  const auto sorted = findings.Sorted();
  if (json) {
    std::puts(mireval::check::FindingsJson(sorted).c_str());
  } else {
    for (const auto& f : sorted) std::puts(mireval::check::FindingLine(f).c_str());
  }
  const int errors = findings.Count(Severity::Error);
  const int warnings = findings.Count(Severity::Warning);
  if (!json) std::fprintf(stderr, "mircheck: ошибок %d, предупреждений %d\n", errors, warnings);
  return errors > 0 || (strict && warnings > 0) ? 1 : 0;
}
