// Text files shown in the story area under a fixed heading: four of the running game and two of
// the program itself.
#pragma once

#include <string>
#include <string_view>

namespace mireval {

struct Player;

// Replaces the story area with the game's introduction (intro.txt).
void ShowIntro(Player& p);
// Append the game's rules, author notes and keywords. A game without the file gets the heading
// and NoSuchFileText under it, and play goes on: the file is optional, the player's game is not.
void ShowRules(Player& p);
void ShowAuthor(Player& p);
void ShowKeywords(Player& p);
// Append the program's own texts (ifgames.txt, editor.txt in the working folder).
void ShowIfGames(Player& p);
void ShowEditorIntro(Player& p);

// «В этой игре нет файла <name>.»: what a built-in command shows for a side file the game lacks.
std::string NoSuchFileText(std::string_view name);

}  // namespace mireval
