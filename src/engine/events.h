#pragma once

namespace mireval {

struct Player;

// Writes every event line of condition n, the location's first, then room0.txt's.
void PodschetSob(Player& p, long n);

}  // namespace mireval
