#include "model/report.h"

#include <cstdlib>

#include "base/text.h"
#include "model/player.h"

namespace mireval {

std::string QuotedLine(std::string_view line) {
  if (line.size() <= kQuotedLineLimit) return std::string(line);
  static const std::string ellipsis = "…"_cp;
  return std::string(line.substr(0, kQuotedLineLimit)) + ellipsis;
}

std::string LineErrorText(const Variant& room, std::string_view context) {
  static const std::string head = "Ошибка в строке: "_cp;
  static const std::string location = "(комната №"_cp;
  return head + "\r\n" + QuotedLine(context) + "\r\n" + location + room.Text() + ")";
}

std::string LineErrorText(const Player& p, std::string_view context) {
  return LineErrorText(p.location, context);
}

void ReportAndEnd(Player& p, const std::string& message) {
  p.platform.ShowScriptError(message, p.place.Text());
  p.platform.EndProgram(kExitAfterError);
  std::abort();  // EndProgram never returns
}

void ReportScriptError(Player& p, OnScriptError policy, const std::string& message) {
  if (policy == OnScriptError::ReportAndEnd) ReportAndEnd(p, message);
  p.platform.ShowScriptError(message, p.place.Text());
}

}  // namespace mireval
