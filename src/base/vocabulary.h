// The words of the game format, spelled once: the names of the files a game folder and the
// program folder hold, and the prefixes that open the lines of a game's files. Games and save
// files written for the format depend on every one of them, so they never change; docs/glossary.md
// says what each means. The texts are Windows-1251, made at compile time.
//
// The header sits in the lowest layer because the cipher (scrambled-file markers) and the seal
// tool (the names of the files it scrambles) need these words as much as the interpreter does.
#pragma once

#include <string_view>

#include "base/text.h"
#include "base/vocabulary.h"

namespace mireval::words {

// ---- Files of a game folder ----
inline constexpr std::string_view kMainFile = "main.txt";             // title, score rules, start
inline constexpr std::string_view kCommonLocationFile = "room0.txt";  // read with every location
inline constexpr std::string_view kLocationFilePrefix = "room";       // room<N>.txt
inline constexpr std::string_view kTextFileSuffix = ".txt";
inline constexpr std::string_view kInventoryFile = "invent.txt";
inline constexpr std::string_view kTasksFile = "zadan.txt";
inline constexpr std::string_view kHintsFile = "hints.txt";
inline constexpr std::string_view kIntroFile = "intro.txt";
inline constexpr std::string_view kAuthorFile = "author.txt";
// Saved games: <name>.sav in the game folder.
inline constexpr std::string_view kSaveSuffix = ".sav";
inline constexpr std::string_view kSavePattern = "*.sav";

// ---- Files of the program folder ----
inline constexpr std::string_view kCoverFile = "obloz.txt";      // shown before a game starts
inline constexpr std::string_view kAutostartFile = "start.txt";  // the game to start at once
inline constexpr std::string_view kCommandLogFile = "logfile.txt";
inline constexpr std::string_view kRulesFile = "rules.txt";
inline constexpr std::string_view kEditorFile = "editor.txt";
inline constexpr std::string_view kGamesListFile = "ifgames.txt";
inline constexpr std::string_view kKeywordsFile = "keywords.txt";

// ---- The first line of main.txt ----
inline constexpr std::string_view kMainFileSignature = "ТЕКСТОВЫЙ КВЕСТ"_cpv;

// ---- Scrambled files: the marker line, then the scrambled body ----
inline constexpr std::string_view kOrdinaryMarker = "\"ЗАШИФРОВАНО\""_cpv;
inline constexpr std::string_view kStrongMarker = "\"СИЛЬНО ЗАШИФРОВАНО\""_cpv;
inline constexpr std::string_view kScrambledLineEnd = "\"0\"";  // closes each scrambled line

// ---- Lines of a location file ----
inline constexpr std::string_view kLocationName = "РН"_cpv;   // the location's name
inline constexpr std::string_view kDescription = "ОП"_cpv;    // a description and its conditions
inline constexpr std::string_view kCommand = "Т "_cpv;        // a command: its words
inline constexpr std::string_view kConditions = "Л "_cpv;     // conditions that must hold
inline constexpr std::string_view kSetConditions = "Д "_cpv;  // conditions to set or clear
inline constexpr std::string_view kGoodPoint = "СС"_cpv;      // one point for good
inline constexpr std::string_view kEvilPoint = "СТ"_cpv;      // one point for evil
inline constexpr std::string_view kGoTo = "ИД "_cpv;          // move to a location
inline constexpr std::string_view kDialogue = "ДИАЛ"_cpv;     // a dialogue block and its words
inline constexpr std::string_view kAutomaticDialogue = "ДИАЛ АВТО"_cpv;  // runs on arrival
inline constexpr std::string_view kAnswer = "ДИ "_cpv;                   // an answer of a dialogue
inline constexpr std::string_view kDialogueEnd = "КДИАЛ"_cpv;  // the end of a dialogue block
inline constexpr std::string_view kScore = "ПС "_cpv;          // recount the score variables
inline constexpr std::string_view kEvent = "СОБ "_cpv;         // an event line / run an event
inline constexpr std::string_view kWords1 = "К1 "_cpv;         // the first word column
inline constexpr std::string_view kWords2 = "К2 "_cpv;         // the second word column
inline constexpr std::string_view kPicture = "КАР "_cpv;
inline constexpr std::string_view kSound = "ЗВУ "_cpv;
inline constexpr std::string_view kMusic = "МУЗ "_cpv;
inline constexpr std::string_view kColorScheme = "ГАММА "_cpv;
inline constexpr std::string_view kRandom = "ВЕР "_cpv;
inline constexpr std::string_view kForcedPause = "НЖ"_cpv;  // wait for Enter here
inline constexpr std::string_view kEmptyLine = "НС"_cpv;    // an empty line of the story

// ---- Words the player types that the interpreter treats itself ----
inline constexpr std::string_view kAutomaticDialogueCommand = " ДИАЛ АВТО "_cpv;
inline constexpr std::string_view kDebugSuffix = " ОТЛАДКА"_cpv;
inline constexpr std::string_view kReloadLocationCommand = " ПЕРЕГРУЗИТЬ ЛОКАЦИЮ "_cpv;

}  // namespace mireval::words
