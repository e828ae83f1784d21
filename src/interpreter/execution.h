// Carrying out the lines of one command entry (or dialogue option) block.
#pragma once

#include <string>
#include <string_view>

namespace mireval {

struct Player;

// Runs the block whose first line is in `line`, reading on from the open file: echoes
// `commandLine`, prints the reply lines through the output writer, sets conditions ("Д "), raises
// the character points ("СС", "СТ") and ends at the first empty line, at the end of the file or
// with a move to another location ("ИД "). Closes the file on every way out.
void RunCommandBlock(Player& p);

// Whether a line of a block is an instruction rather than text: a dialogue option ("ДИ "), the end
// of a dialogue ("КДИАЛ"), conditions to set ("Д ") or to test ("Л "), or a point ("СС", "СТ").
bool IsBlockInstruction(std::string_view line);

// Sets the conditions listed on a "Д " line: "Д 3 -4" sets 3 and clears 4. Only numbers followed
// by a blank are taken. A number out of range is reported and the rest of the block goes on.
void SetConditionsLine(Player& p, std::string line);

}  // namespace mireval
