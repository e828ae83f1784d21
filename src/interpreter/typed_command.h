// Processing one command line typed by the player.
#pragma once

#include <string>

namespace mireval {

struct Player;

// Carries out the text of the input line: counts the move, logs it to logfile.txt, tidies doubled
// blanks and hands it to exactly one consumer (a talk verb, a built-in command, the automatic
// dialogue, or the best matching command entry of the location file and room0.txt; a refusal
// when nothing matches). Clears the input line at the end.
void ExecuteTypedCommand(Player& p);

// Wherever two blanks meet in the typed line, the second goes, once: a run of n blanks keeps
// ceil(n/2) of them, so a single stray blank the player typed does no harm.
void TidyBlanks(std::string& line);

}  // namespace mireval
