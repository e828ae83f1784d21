#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mireval {

// Takes the next line of `data` from `pos` on; a line ends at CR LF, LF or CR. Advances `pos`
// past the line end. Call only while pos < data.size().
std::string_view NextLine(std::string_view data, std::size_t& pos);

// All lines of a text; a final line end does not start another line.
std::vector<std::string> SplitLines(std::string_view data);

// Lines joined, each followed by CR LF.
std::string JoinCrLf(const std::vector<std::string>& lines);

// A field of a record line (saves, the command log): the text in double quotes, a quote inside
// doubled, so that the field cannot end early.
std::string QuotedField(std::string_view text);

// A Windows-1251 text as a JSON string literal (UTF-8, quoted and escaped).
std::string JsonString(const std::string& cp1251);

}  // namespace mireval
