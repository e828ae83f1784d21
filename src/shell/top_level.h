#pragma once

#include <string>

namespace mireval {

struct Player;

// The game's web addresses, opened by the forum and site commands and named by the last hint.
extern const char* const kForumAddress;
extern const char* const kSiteAddress;

// Asks the question that comes before leaving a running game and saves when asked to. True when
// the program may end: no game runs, the player declined saving, or the save succeeded.
bool MayLeave(Player& p);

// Tries the program-level commands on the text of the input line. True when one ran.
bool RunTopLevelCommand(Player& p);

}  // namespace mireval
