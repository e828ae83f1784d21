// Error reports shared by the procedures that handle script errors.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/script_error.h"

namespace mireval {

struct Player;
class Variant;

// The longest script or typed line a message quotes whole.
constexpr std::size_t kQuotedLineLimit = 300;

// A line as error messages quote it: its first kQuotedLineLimit characters and "…" when it is
// longer, so that a huge line neither stalls the message box nor makes it outgrow the screen.
std::string QuotedLine(std::string_view line);

// "Ошибка в строке: " CR LF context CR LF "(комната №" room ")", the context quoted as QuotedLine.
std::string LineErrorText(const Variant& room, std::string_view context);
// The same for the current location.
std::string LineErrorText(const Player& p, std::string_view context);

// Shows the message and ends the program (exit status 3).
[[noreturn]] void ReportAndEnd(Player& p, const std::string& message);

// What a script error means for the step it stopped.
enum class OnScriptError {
  ReportAndGoOn,  // a message box, and the program goes on after the step
  ReportAndEnd,   // a message box, then the program ends (exit status 3)
};

// Shows the message as a script error, with the place of the line the interpreter stands at
// (`place` in the game state), and goes on or ends as the policy says.
void ReportScriptError(Player& p, OnScriptError policy, const std::string& message);

// Runs one step of a script. When the step throws ScriptError, the message `describe` builds is
// shown (built after the error, so that it can quote the line the step stopped at) and the
// policy decides what follows. True when the step finished.
template <class Step, class Describe>
bool RunScriptStep(Player& p, OnScriptError policy, Step&& step, Describe&& describe) {
  try {
    step();
    return true;
  } catch (const ScriptError&) {
    ReportScriptError(p, policy, describe());
    return false;
  }
}

}  // namespace mireval
