#pragma once

namespace mireval {

struct Player;

// Refreshes the four status labels and rewrites conditions 0 and 3000 from the character points.
void MainScreen(Player& p);

}  // namespace mireval
