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
  bool holds = true;
  ForEachListedCondition(line, from, true, blankNeedsNumber,
                         [&](std::string_view digits, bool expect) {
                           if (conditions.Get(ConditionNumber(digits)) != expect) holds = false;
                         });
  return holds;
}

}  // namespace mireval
