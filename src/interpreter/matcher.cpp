#include "interpreter/matcher.h"

#include <algorithm>

#include "base/script_error.h"
#include "base/text.h"
#include "model/player.h"
#include "model/report.h"

namespace mireval {

namespace {

enum class Kind { Whole, Beginning, Ending, Inner };

// What is searched for a word of this kind: the text without the "%" ends. A synonym partner is
// cut the same way although it carries no "%", so "ЛАМП%" with the partner "ФОНАРЬ" looks for
// "ФОНАР".
std::string Cut(Kind kind, const std::string& s) {
  switch (kind) {
    case Kind::Whole:
      return s;
    case Kind::Beginning:
      if (s.empty()) throw ScriptError("nothing to cut from an empty word");
      return s.substr(0, s.size() - 1);
    case Kind::Ending:
      if (s.empty()) throw ScriptError("nothing to cut from an empty word");
      return s.substr(1);
    case Kind::Inner:
      if (s.size() < 2) throw ScriptError("word too short for an inner part");
      return s.substr(1, s.size() - 2);
  }
  return s;
}

Kind KindOf(const std::string& written) {
  if (written.empty()) throw ScriptError("empty pattern word");
  const bool first = written.front() == '%', last = written.back() == '%';
  return first && last ? Kind::Inner : last ? Kind::Beginning : first ? Kind::Ending : Kind::Whole;
}

// Whether `core` stands somewhere in the upper-cased command line with the boundaries its kind
// demands. Every occurrence is judged on its own neighbours.
bool Occurs(const std::string& command, const std::string& core, Kind kind) {
  const std::size_t n = command.size(), len = core.size();
  const bool needBlankBefore = kind == Kind::Whole || kind == Kind::Beginning;
  const bool needBlankAfter = kind == Kind::Whole || kind == Kind::Ending;
  // Every entry head of two files is matched against the command: jump from occurrence to
  // occurrence instead of comparing at every position.
  for (std::size_t j = command.find(core); j != std::string::npos && j < n;
       j = command.find(core, j + 1)) {
    if (needBlankBefore && j > 0 && command[j - 1] != ' ') continue;
    if (needBlankAfter && j + len < n && command[j + len] != ' ') continue;
    return true;
  }
  return false;
}

int UsedSlots(const Player& p) {
  return std::clamp(p.synonymCount, 0, kSynonymSlots);
}

// A word missing from the command is looked for through the partner of every synonym entry equal
// to its core. All such entries are tried, so an unusable partner is reported even after a usable
// one.
bool FoundThroughSynonym(const Player& p, const std::string& command, Kind kind, int k) {
  const int partner = k % 2 == 1 ? k + 1 : k - 1;
  return Occurs(command, MatchingForm(Cut(kind, p.synonyms[static_cast<std::size_t>(partner)])),
                kind);
}

bool TestWord(const Player& p, const std::string& command, const std::string& written,
              const SynonymIndex& index) {
  const Kind kind = KindOf(written);
  const std::string core = MatchingForm(Cut(kind, written));
  if (Occurs(command, core, kind)) return true;

  bool found = false;
  if (const std::vector<int>* entries = index.Find(core))
    for (int k : *entries) found = FoundThroughSynonym(p, command, kind, k) || found;
  return found;
}

bool Match(Player& p, std::string& pattern, bool wholeLineIsPattern, const SynonymIndex& index) {
  if (pattern.empty() || pattern.back() != ' ') pattern += ' ';
  bool matched = false;
  RunScriptStep(
      p, OnScriptError::ReportAndEnd,
      [&] {
        const std::string& command = index.Command();
        int words = 0;
        bool found = false;
        std::size_t start = wholeLineIsPattern ? 0 : 2;
        for (std::size_t i = start; i < pattern.size(); ++i) {
          if (pattern[i] != ' ') continue;
          ++words;
          found = TestWord(p, command, pattern.substr(start, i - start), index);
          if (!found) break;
          start = i + 1;
        }
        p.wordLinesCount = words;
        matched = words > 0 && found;
      },
      [&] { return LineErrorText(p, pattern); });
  return matched;
}

}  // namespace

std::string CutLikePatternWord(const std::string& written, const std::string& text) {
  return Cut(KindOf(written), text);
}

SynonymIndex::SynonymIndex(const Player& p) : command_(MatchingForm(p.commandLine)) {
  const int count = UsedSlots(p);
  for (int k = 1; k <= count; ++k)
    entries_[MatchingForm(p.synonyms[static_cast<std::size_t>(k)])].push_back(k);
}

const std::vector<int>* SynonymIndex::Find(const std::string& core) const {
  auto it = entries_.find(core);
  return it == entries_.end() ? nullptr : &it->second;
}

bool CommandMatches(Player& p, std::string& pattern, bool wholeLineIsPattern) {
  return Match(p, pattern, wholeLineIsPattern, SynonymIndex(p));
}

bool CommandMatches(Player& p, std::string& pattern, bool wholeLineIsPattern,
                    const SynonymIndex& index) {
  return Match(p, pattern, wholeLineIsPattern, index);
}

}  // namespace mireval
