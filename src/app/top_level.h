#pragma once

#include <string>

#include "script/addresses.h"

namespace mireval {

struct Player;

// Asks the question that comes before leaving a running game and saves when asked to. True when
// the program may end: no game runs, the player declined saving, or the save succeeded.
bool MayLeave(Player& p);

// Tries the program-level commands on the text of the input line. True when one ran.
bool RunTopLevelCommand(Player& p);
// Whether RunTopLevelCommand would run one for the input line as it stands.
bool IsTopLevelCommand(const Player& p);

}  // namespace mireval
