#pragma once

namespace mireval {

struct Player;

// Refreshes the four status labels; the verdict on the character is read from conditions 0 and
// 3000, which the interpreter settles first (SettleCharacterConditions).
void DrawStatusLine(Player& p);

}  // namespace mireval
