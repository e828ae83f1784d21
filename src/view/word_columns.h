// The two columns of clickable words (К1 in front of a command, К2 behind it).
#pragma once

namespace mireval {

struct Player;

// Rebuilds both columns from the word lines of the current location and room0.txt.
void FillWordColumns(Player& p);

// A click on word `item` (0-based) of column `column` (0 = К1, 1 = К2).
void OnWordClicked(Player& p, int column, int item);

// Arranges the window for the columns: narrow when either holds a word, wide otherwise.
void ArrangeLayout(Player& p);

}  // namespace mireval
