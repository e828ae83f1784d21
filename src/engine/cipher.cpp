#include "engine/cipher.h"

#include <charconv>
#include <cmath>

#include "engine/lines.h"
#include "engine/script_error.h"
#include "engine/text.h"
#include "engine/variant.h"

namespace mireval {

const std::string& MarkerLine(CipherKind kind) {
  static const std::string ordinary = "\"" + "ЗАШИФРОВАНО"_cp + "\"";
  static const std::string strong = "\"" + "СИЛЬНО ЗАШИФРОВАНО"_cp + "\"";
  return kind == CipherKind::Ordinary ? ordinary : strong;
}

std::optional<CipherKind> MarkerKind(std::string_view line) {
  if (line.empty() || line[0] != '"') return std::nullopt;  // most lines: asked for every one
  if (line == MarkerLine(CipherKind::Ordinary)) return CipherKind::Ordinary;
  if (line == MarkerLine(CipherKind::Strong)) return CipherKind::Strong;
  return std::nullopt;
}

int CipherKey(CipherKind kind, long line) {
  double l = static_cast<double>(line);
  double v = kind == CipherKind::Ordinary ? l * std::sqrt(std::sqrt(l)) : (l + 2) * std::sqrt(l);
  return static_cast<int>(std::llround(v) % 100);
}

namespace {
const std::string kEndOfLine = "\"0\"";

// The value of a number line: fast for the plain digits the format holds, the general number
// reading for anything else.
long long NumberLine(std::string_view line) {
  if (!line.empty() && line.size() <= 12) {
    long long v = 0;
    bool ok = true;
    for (char c : line) {
      if (c < '0' || c > '9') {
        ok = false;
        break;
      }
      v = v * 10 + (c - '0');
    }
    if (ok) return v;
  }
  auto n = ParseNumber(line);
  if (!n || std::fabs(*n) > 1e15) throw ScriptError("not a number line: " + std::string(line));
  return static_cast<long long>(std::floor(*n));
}
}  // namespace

std::string Encrypt(const std::vector<std::string>& plainLines, CipherKind kind) {
  std::string out = MarkerLine(kind) + "\r\n";
  // Every character becomes a line of up to five characters: reserve it all at once, and write
  // the numbers straight into the text (whole game folders are scrambled at a time).
  std::size_t characters = 0;
  for (const std::string& line : plainLines) characters += line.size();
  out.reserve(out.size() + characters * 6 + plainLines.size() * (kEndOfLine.size() + 2));
  char number[24];
  long l = 0;
  for (const std::string& line : plainLines) {
    const long long key = CipherKey(kind, l);
    for (std::size_t i = 0; i < line.size(); ++i) {
      const long long code = static_cast<unsigned char>(line[i]);
      const auto [end, ec] =
          std::to_chars(number, number + sizeof number, code + static_cast<long long>(i) + 1 + key);
      out.append(number, static_cast<std::size_t>(end - number));
      out.append("\r\n", 2);
    }
    out += kEndOfLine;
    out.append("\r\n", 2);
    ++l;
  }
  return out;
}

std::string DecryptBody(std::string_view body, CipherKind kind) {
  std::string out;
  out.reserve(body.size() / 4);
  std::string current;
  long long i = 0;
  long l = 0;
  int key = CipherKey(kind, 0);
  std::size_t pos = 0;
  while (pos < body.size()) {
    std::string_view line = NextLine(body, pos);
    if (line.size() == 3 && line[0] == '"' && line[1] == '0' && line[2] == '"') {  // "0"
      out += current;
      out += "\r\n";
      current.clear();
      i = 0;
      key = CipherKey(kind, ++l);
      continue;
    }
    ++i;
    long long code = NumberLine(line) - i - key;
    if (code < 0 || code > 255) throw ScriptError("damaged scrambled line: " + std::string(line));
    current += static_cast<char>(code);
  }
  return out;
}

}  // namespace mireval
