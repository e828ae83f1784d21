// The scrambled text format of location and list files. A scrambled file is a marker line, then
// for every plain line one number line per character (its code + its position + a line key) and a
// closing "0" line (with its quotes). The player reads it; the seal tool writes it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mireval {

enum class CipherKind { Ordinary, Strong };

// The marker line of a kind, with its double quotes (Windows-1251).
const std::string& MarkerLine(CipherKind kind);
// Which marker a line is (exact comparison), if any.
std::optional<CipherKind> MarkerKind(std::string_view line);

// key(L) for plain line L (0-based), 0..99.
int CipherKey(CipherKind kind, long line);

// The whole scrambled file for these plain lines, CR LF line ends.
std::string Encrypt(const std::vector<std::string>& plainLines, CipherKind kind);

// Decodes the number lines that follow the marker (`body` starts right after the marker line) into
// plain text, each plain line ended by CR LF. A plain line not closed by its "0" line is dropped.
// A line that is not a number, or a code outside 0..255, throws ScriptError naming the line.
std::string DecryptBody(std::string_view body, CipherKind kind);

}  // namespace mireval
