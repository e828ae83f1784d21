// Dialogues: blocks of a location file offered as answer buttons, and the automatic dialogue that
// starts by itself after every description.
#pragma once

namespace mireval {

struct Player;

// Scans both location files for the dialogue block matching `commandLine` and shows its answers.
void OfferDialogue(Player& p);
// Plays the option behind answer button `index` (1..12), then rebuilds the answers.
void PlayChosenAnswer(Player& p, int index);
// A click on answer button `index` (0 closes the dialogue).
void OnAnswerClicked(Player& p, int index);
// One automatic turn: the fixed command " ДИАЛ АВТО " goes to the dialogue scan.
void RunAutomaticDialogue(Player& p);

}  // namespace mireval
