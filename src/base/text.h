// Text layer: inside the engine every text is a std::string of Windows-1251 bytes, one byte per
// character, exactly as the game files hold it. UTF-8 exists only at the edges (front ends, source
// literals).
#pragma once

#include <string>
#include <string_view>

namespace mireval {

// Windows-1251 -> UTF-8. Every byte has a meaning; the one unassigned code (0x98) maps to U+0098.
std::string ToUtf8(std::string_view cp1251);

// Windows-1251 -> UTF-8 as a window or a terminal shows it: every CR is left out, so CR LF is one
// line break and a lone CR shows nothing.
std::string ToUtf8Shown(std::string_view cp1251);

// UTF-8 -> Windows-1251. A character with no Windows-1251 code, or a broken UTF-8 sequence,
// becomes "?".
std::string FromUtf8(std::string_view utf8);

// Source literals are UTF-8; "Текст"_cp gives the Windows-1251 text.
inline std::string operator""_cp(const char* s, std::size_t n) {
  return FromUtf8({s, n});
}

// Upper-casing of Latin and Cyrillic letters (Ё/ё and the other Cyrillic letters of the code page
// included); every other byte stays.
char UpperChar(char c);
std::string Upper(std::string_view s);
bool EqualsNoCase(std::string_view a, std::string_view b);

// Every en dash (code 150) becomes "-". The argument is changed too; the result is its new value.
std::string& StraightenDashes(std::string& line);

bool StartsWith(std::string_view s, std::string_view prefix);
bool IsDigit(char c);

// 1-based substring helpers in the manner of the script format's descriptions: Mid(s, from) takes
// from character `from` to the end; out-of-range positions give the empty text, never a fault.
std::string Mid(std::string_view s, long from);
std::string Mid(std::string_view s, long from, long count);

}  // namespace mireval
