// Condition lists of script lines: condition numbers separated by blanks, a "-" before a number
// asking for False.
#pragma once

#include <cstddef>
#include <string_view>

#include "base/script_error.h"
#include "base/text.h"
#include "model/game_state.h"

namespace mireval {

// Calls each(digits, expect) for every number of the list in `line`, read from `from` on, that a
// blank closes: `digits` is the text of the number's last run of characters other than blanks
// and "-" (for the caller to read), `expect` false when a "-" came before it. With endIsBlank the
// end of the line closes a number too. A blank that closes no number is passed over (a "-" before
// it still counts), or with blankNeedsNumber makes the line unreadable.
template <class Each>
void ForEachListedCondition(std::string_view line, std::size_t from, bool endIsBlank,
                            bool blankNeedsNumber, Each each) {
  bool expect = true;
  std::size_t digits = 0;
  const std::size_t end = line.size() + (endIsBlank ? 1 : 0);
  for (std::size_t i = from; i < end; ++i) {
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
      each(line.substr(i - digits, digits), expect);
      digits = 0;
      expect = true;
    }
  }
}

// A condition number as written: one to six digits and nothing else, or a ScriptError. The range
// is the conditions' own to check.
long ConditionNumber(std::string_view digits);

// Whether every condition of the list in `line`, read from `from` on, holds. The end of the line
// counts as a blank. With blankNeedsNumber, a blank that follows no number makes the line
// unreadable; without it such a blank is passed over (and a "-" before it still counts).
bool ConditionListHolds(const Conditions& conditions, std::string_view line, std::size_t from,
                        bool blankNeedsNumber);

}  // namespace mireval
