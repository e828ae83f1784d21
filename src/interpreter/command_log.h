#pragma once

#include <string>

namespace mireval {

struct Player;

// Appends one record to logfile.txt in the working folder: both fields in double quotes,
// separated by a comma, CR LF at the end. A log that cannot be written is reported once per run
// and play goes on.
void AppendCommandLog(Player& p, const std::string& first, const std::string& second);

}  // namespace mireval
