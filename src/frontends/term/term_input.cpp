#include "frontends/term/term_input.h"

#include <sstream>
#include <tuple>
#include <utility>

#include "model/form.h"
#include "model/game_state.h"

namespace mireval {

namespace {

constexpr int kLastButton = static_cast<int>(std::tuple_size_v<decltype(Form::answers)>) - 1;

TermAction Action(TermAction::Kind kind, std::string text = {}, int column = 0, long index = 0) {
  return {kind, std::move(text), column, index};
}

}  // namespace

std::string TrimBlanks(const std::string& s) {
  std::size_t b = s.find_first_not_of(' '), e = s.find_last_not_of(' ');
  return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

TermAction ReadTermAction(const std::string& line) {
  using Kind = TermAction::Kind;
  if (line.empty() || line[0] != '/') return Action(Kind::Type, line);
  if (line.size() > 1 && line[1] == '/') return Action(Kind::Type, line.substr(1));

  std::istringstream words(line);
  std::string name;
  words >> name;
  // What follows the action's name: a path may hold blanks.
  const std::string rest = TrimBlanks(line.substr(name.size()));
  auto nothingMore = [&] { return (words >> std::ws).eof(); };
  int column = 0, number = 0;
  long wide = 0;
  std::string onOff;
  if (name == "/state") return Action(Kind::State);
  if (name == "/enter" && nothingMore()) return Action(Kind::Enter);
  if (name == "/quit") return Action(Kind::Quit);
  if (name == "/picture" && rest == "close") return Action(Kind::ClosePicture);
  if (name == "/open" && !rest.empty()) return Action(Kind::Open, rest);
  if (name == "/load" && !rest.empty()) return Action(Kind::Load, rest);
  if (name == "/answer" && (words >> number) && number >= 0 && number <= kLastButton &&
      nothingMore())
    return Action(Kind::Answer, {}, 0, number);
  if (name == "/word" && (words >> column >> number) && (column == 1 || column == 2) &&
      number >= 1 && nothingMore())
    return Action(Kind::Word, {}, column - 1, number - 1);
  if (name == "/expect" && !rest.empty()) return Action(Kind::ExpectText, rest);
  if (name == "/expect-not" && !rest.empty()) return Action(Kind::ExpectNoText, rest);
  if (name == "/condition" && (words >> wide >> onOff) && Conditions::InRange(wide) &&
      (onOff == "on" || onOff == "off") && nothingMore())
    return Action(Kind::ExpectCondition, {}, onOff == "on" ? 1 : 0, wide);
  if (name == "/room" && (words >> wide) && nothingMore())
    return Action(Kind::ExpectRoom, {}, 0, wide);
  return Action(Kind::Unknown);
}

}  // namespace mireval
