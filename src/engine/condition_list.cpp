#include "engine/condition_list.h"

#include <string>

#include "engine/script_error.h"
#include "engine/text.h"

namespace mireval {

long ConditionNumber(std::string_view digits) {
  for (char c : digits)
    if (!IsDigit(c)) throw ScriptError("unreadable condition number: " + std::string(digits));
  if (digits.empty() || digits.size() > 6)
    throw ScriptError("unreadable condition number: " + std::string(digits));
  return std::stol(std::string(digits));
}

bool ConditionListHolds(const Conditions& conditions, std::string_view line, std::size_t from,
                        bool blankNeedsNumber) {
  bool expect = true, holds = true;
  std::size_t digits = 0;
  for (std::size_t i = from; i <= line.size(); ++i) {
    const char c = i < line.size() ? line[i] : ' ';
    if (c == '-') {
      expect = false;
    } else if (IsDigit(c)) {
      ++digits;
    } else if (c == ' ') {
      if (digits == 0) {
        if (blankNeedsNumber) throw ScriptError("unreadable condition line");
        continue;
      }
      if (conditions.Get(ConditionNumber(line.substr(i - digits, digits))) != expect) holds = false;
      digits = 0;
      expect = true;
    }
  }
  return holds;
}

}  // namespace mireval
