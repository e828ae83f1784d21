// Keys typed into the input line and into the focus holder of the answer panel.
#pragma once

namespace mireval {

struct Player;

constexpr int kEnter = 13;

// Called for every character key typed into the input line `input`, before it is inserted.
void OnInputKey(Player& p, int key);
// Called for keys typed into `answerPanelFocus` (the focus holder while answers are shown).
void OnAnswerPanelKey(Player& p, int key);
// Any key typed while the story area has the focus moves the focus away from it.
void OnStoryKey(Player& p, int key);

}  // namespace mireval
