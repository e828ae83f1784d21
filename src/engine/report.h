// Error reports shared by the procedures that handle script errors.
#pragma once

#include <string>
#include <string_view>

namespace mireval {

struct Player;
class Variant;

// "Ошибка в строке: " CR LF context CR LF "(комната №" room ")".
std::string LineErrorText(const Variant& room, std::string_view context);
// The same for the current location, Room.
std::string LineErrorText(const Player& p, std::string_view context);

// Shows the message and ends the program (exit status 3).
[[noreturn]] void ReportAndEnd(Player& p, const std::string& message);

}  // namespace mireval
