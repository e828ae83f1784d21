#include "script/condition_list.h"

#include <charconv>
#include <string>

#include "base/script_error.h"
#include "base/text.h"

namespace mireval {

long ConditionNumber(std::string_view digits) {
  for (char c : digits)
    if (!IsDigit(c)) throw ScriptError("unreadable condition number: " + std::string(digits));
  if (digits.empty() || digits.size() > 6)
    throw ScriptError("unreadable condition number: " + std::string(digits));
  long n = 0;
  std::from_chars(digits.data(), digits.data() + digits.size(), n);
  return n;
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
