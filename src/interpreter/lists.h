// The inventory, task and hint lists of a game (invent.txt, zadan.txt, hints.txt): entries shown
// while their conditions hold.
#pragma once

namespace mireval {

struct Player;

// Append every item (task) whose condition line holds. A missing file is named under the heading
// (NoSuchFileText) and play goes on; an unreadable condition line throws ScriptError for the
// command that asked to report.
void ShowInventory(Player& p);
void ShowTasks(Player& p);
// Appends the first hint whose condition line holds, or the notice that the hints have run out.
void ShowHint(Player& p);

}  // namespace mireval
