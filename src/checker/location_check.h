// The checks of one location file (room<N>.txt or the common room0.txt), and what the checks of the
// whole game need to know of it.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "checker/findings.h"
#include "checker/game_folder.h"
#include "checker/source_file.h"

namespace mireval::check {

struct Place {
  std::string file;
  long line = 0;
};

struct ConditionUse {
  long number = 0;
  Place place;
  bool needsTrue = true;  // a test that holds only while the condition is True
};

struct PatternWord {
  std::string written;  // as the pattern writes it, "%" marks included
  Place place;
};

struct SynonymPair {
  std::string main, partner;
  Place place;
};

struct LocationFacts {
  long room = 0;
  std::vector<std::pair<long, Place>> moves;  // "ИД" lines and their targets
  std::vector<ConditionUse> set;              // by "Д", "ВЕР" and score variables
  std::vector<ConditionUse> tested;           // by "Л", "ОП", score terms, word lines
  std::map<long, Place> scoreVariables;       // the conditions the file's "ПС" lines compute
  std::vector<ConditionUse> events;           // "СОБ" lines
  std::vector<PatternWord> patternWords;      // of commands and dialogue headers
  std::vector<SynonymPair> synonyms;
};

// Checks a location file of the game in `folder`; `room` is its number (0 for room0.txt).
LocationFacts CheckLocationFile(const SourceFile& file, long room, const GameFolder& folder,
                                Findings& findings);

// Checks the directive lines of a text the player shows whole (intro.txt, rules.txt...): the
// files they name, and what they cut from the text around them.
void CheckShownText(const SourceFile& file, const GameFolder& folder, Findings& findings);

}  // namespace mireval::check
