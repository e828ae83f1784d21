// Carrying out the lines of one command entry (or dialogue option) block.
#pragma once

#include <string>

namespace mireval {

struct Player;

// Runs the block whose first line is in Stroka, reading on from the open file: echoes KomStroka,
// prints the reply lines through the output writer, sets conditions ("Д "), raises the character
// points ("СС", "СТ") and ends at the first empty line, at the end of the file or with a move to
// another location ("ИД "). Closes the file on every way out.
void VypolnitKomand(Player& p);

// Sets the conditions listed on a "Д " line: "Д 3 -4" sets 3 and clears 4. Only numbers followed
// by a blank are taken. A number out of range is reported and the rest of the block goes on.
void UstanovitUsl(Player& p, std::string line);

}  // namespace mireval
