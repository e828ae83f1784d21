// Matching a typed command against one pattern written by the game author.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

namespace mireval {

struct Player;

// True when every word of `pattern` is found in `commandLine`, literally or through the synonym
// table, both compared in MatchingForm (upper case, «ё» as «е»). A word "X%" is a word beginning,
// "%X" a word ending, "%X%" an inner part, anything else a whole word. In command mode
// (wholeLineIsPattern false) the two characters of the line kind are skipped. Sets
// `wordLinesCount` to the number of words examined (the failing one included) and appends a blank
// to `pattern` when it does not end with one. A pattern the matcher cannot read (an empty word, a
// lone "%", a synonym too short to cut) is reported and ends the program.
bool CommandMatches(Player& p, std::string& pattern, bool wholeLineIsPattern);

// What the matcher looks for in place of `text` (the pattern word itself or a synonym partner)
// under the pattern word `written`: `text` with as many characters cut from its ends as the word
// has "%" marks. Throws ScriptError for an empty word or a text too short to cut.
std::string CutLikePatternWord(const std::string& written, const std::string& text);

// The synonym table looked up by the matching form of its entries (upper case, «Ё» as «Е»), and
// the command line in that form, made once.
// Made once for a whole file of patterns matched against one command. Valid while neither the
// table nor `commandLine` changes.
class SynonymIndex {
 public:
  explicit SynonymIndex(const Player& p);
  // The numbers of the entries equal to `core` (in matching form), ascending; null when none are.
  const std::vector<int>* Find(const std::string& core) const;
  // `commandLine` in matching form.
  const std::string& Command() const { return command_; }

 private:
  std::unordered_map<std::string, std::vector<int>> entries_;
  std::string command_;
};

// The same match, with the synonym table read through `index`.
bool CommandMatches(Player& p, std::string& pattern, bool wholeLineIsPattern,
                    const SynonymIndex& index);

}  // namespace mireval
