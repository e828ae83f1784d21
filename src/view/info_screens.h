// Text files shown in the story area under a fixed heading: four of the running game and two of
// the program itself.
#pragma once

namespace mireval {

struct Player;

// Replaces the story area with the game's introduction (intro.txt).
void ShowIntro(Player& p);
// Append the game's rules, author notes and keywords. A missing file throws ScriptError for the
// command that asked for it to report.
void ShowRules(Player& p);
void ShowAuthor(Player& p);
void ShowKeywords(Player& p);
// Append the program's own texts (ifgames.txt, editor.txt in the working folder).
void ShowIfGames(Player& p);
void ShowEditorIntro(Player& p);

}  // namespace mireval
