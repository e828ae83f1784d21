// What one input line of the terminal player asks for, apart from carrying it out: a text to type
// or one of the "/" actions, with its arguments checked.
#pragma once

#include <string>

namespace mireval {

struct TermAction {
  enum class Kind {
    Type,
    State,
    Enter,
    Quit,
    ClosePicture,
    Open,
    Load,
    Answer,
    Word,
    // Walkthrough expectations: they check, and change nothing.
    ExpectText,
    ExpectNoText,
    ExpectCondition,
    ExpectRoom,
    Unknown
  };
  Kind kind = Kind::Unknown;
  // Type: the text to type; Open, Load: the path; ExpectText, ExpectNoText: the text looked for;
  // UTF-8, as written.
  std::string text;
  int column = 0;  // Word: 0 for К1, 1 for К2; ExpectCondition: 1 for on, 0 for off
  // Answer: the button (0 ends the dialogue); Word: the word, from 0; ExpectCondition: the
  // condition; ExpectRoom: the location.
  long index = 0;
};

// A line not starting with "/" is typed as it stands, and "//" types a single "/". An action with
// arguments it does not take, or with numbers out of range, is Unknown.
TermAction ReadTermAction(const std::string& line);

// `s` without the blanks at its ends (tabs stay).
std::string TrimBlanks(const std::string& s);

}  // namespace mireval
