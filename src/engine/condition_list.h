// Condition lists of script lines: condition numbers separated by blanks, a "-" before a number
// asking for False.
#pragma once

#include <cstddef>
#include <string_view>

#include "engine/game_state.h"

namespace mireval {

// A condition number as written: one to six digits and nothing else, or a ScriptError. The range
// is the conditions' own to check.
long ConditionNumber(std::string_view digits);

// Whether every condition of the list in `line`, read from `from` on, holds. The end of the line
// counts as a blank. With blankNeedsNumber, a blank that follows no number makes the line
// unreadable; without it such a blank is passed over (and a "-" before it still counts).
bool ConditionListHolds(const Conditions& conditions, std::string_view line, std::size_t from,
                        bool blankNeedsNumber);

}  // namespace mireval
