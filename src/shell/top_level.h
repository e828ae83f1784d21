#pragma once

#include <string>

namespace mireval {

struct Player;

// The game's web addresses, opened by the forum and site commands and named by the last hint.
extern const char* const kForumAddress;
extern const char* const kSiteAddress;

// Tries the program-level commands on the text of the input line. True when one ran.
bool RunTopLevelCommand(Player& p);

}  // namespace mireval
