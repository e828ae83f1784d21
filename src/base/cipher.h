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

// Scrambles plain text a piece at a time, for files too large to hold: the characters of one
// plain line may come in several pieces, and EndLine closes the line. Appends to `out`; the
// marker line is the caller's.
class Encoder {
 public:
  explicit Encoder(CipherKind kind) : kind_(kind) {}
  void Characters(std::string_view chars, std::string& out);
  void EndLine(std::string& out);

 private:
  CipherKind kind_;
  long line_ = 0;
  long long position_ = 0;  // of the last character written, 1-based within its line
  long long key_ = 0;
};

// Decodes the number lines that follow the marker one at a time: a number line appends its
// character to `out`, a "0" line appends CR LF. A line that is not a number, or a code outside
// 0..255, throws ScriptError naming the line.
class Decoder {
 public:
  explicit Decoder(CipherKind kind) : kind_(kind) {}
  void Line(std::string_view line, std::string& out);
  // True unless a plain line has been begun and not closed by its "0" line.
  bool AtLineEnd() const { return position_ == 0; }

 private:
  CipherKind kind_;
  long line_ = 0;
  long long position_ = 0;
  int key_ = 0;  // key(0) is 0 in both kinds
};

// Decodes the number lines that follow the marker (`body` starts right after the marker line) into
// plain text, each plain line ended by CR LF. A plain line not closed by its "0" line is dropped.
// A line that is not a number, or a code outside 0..255, throws ScriptError naming the line.
std::string DecryptBody(std::string_view body, CipherKind kind);

}  // namespace mireval
