// Damaged games: the feature-rich base game and the demo game broken in every way a game folder
// can arrive broken (cut short, random bytes, a 10 MB line, 100,000 conditions on a line, missing
// files, marker lines in the middle of files, scrambled files that do not decode, endless loops of
// transitions, damaged save files and scripts that break the format's rules). Made in memory at
// test time; nothing of them is kept in the repository.
#pragma once

#include <string>
#include <vector>

#include "support/base_game.h"

namespace mireval {

// Stands in GameFiles for a folder of that name where a file is expected.
inline const std::string kFolderEntry("\0<folder>\0", 10);
// Stands for a named pipe (no writer ever comes).
inline const std::string kPipeEntry("\0<pipe>\0", 8);
// Followed by a target: a symbolic link to it, relative to the game folder's place. The folder
// "../outside" beside the game holds every file of the game with kLeakedText added to each line,
// so that anything read through such a link shows in the transcript.
inline const std::string kLinkEntry("\0<link>\0", 8);
inline const char* const kLeakedText = "СЕКРЕТ СНАРУЖИ";

struct DamagedGame {
  std::string name;                              // what was done to the game, for the report
  GameFiles files;                               // the whole folder; a file absent here is missing
  const char* scriptUtf8 = kBaseGameScriptUtf8;  // what is typed
};

std::vector<DamagedGame> TruncatedGames(const GameFiles& demo);
std::vector<DamagedGame> RandomByteGames(const GameFiles& demo);
std::vector<DamagedGame> HugeLineGames();
std::vector<DamagedGame> ManyConditionGames();
std::vector<DamagedGame> MissingFileGames();
std::vector<DamagedGame> MarkerGames();
std::vector<DamagedGame> TransitionLoopGames();
std::vector<DamagedGame> BrokenScrambledGames();
std::vector<DamagedGame> DamagedSaveGames();
std::vector<DamagedGame> RuleBreakingGames();
std::vector<DamagedGame> SpecialFileGames();
// Shapes that once made a single command take seconds to minutes: a chain of thousands of score
// variables written last to first, a typed line of a million blanks, and 10 MB lines that end the
// program with a message quoting them.
std::vector<DamagedGame> SlowShapeGames();

}  // namespace mireval
