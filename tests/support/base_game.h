// A small game that uses every kind of script line: descriptions chosen by conditions, command
// entries with conditions, points and transitions, dialogues (an automatic one too), score
// variables with events, synonyms, word columns, media, colour and random-condition lines, the
// three lists and the information screens. The damaged games are made from it, and the fuzz
// targets are seeded with it.
#pragma once

#include <map>
#include <string>

namespace mireval {

// File name -> contents (Windows-1251, CR LF line ends).
using GameFiles = std::map<std::string, std::string>;

GameFiles BaseGame();

// The lines the damaged games are played with (UTF-8, as typed into mirterm): start, lists,
// commands, a dialogue, the information screens, a save and its load, a damaged save, and on to
// the second location.
extern const char* const kBaseGameScriptUtf8;
// Its short form for the games of 10 MB lines, which every reader takes several times per
// command: each kind of reader still meets the line.
extern const char* const kBaseGameShortScriptUtf8;

}  // namespace mireval
