#include "base/cipher.h"

#include <charconv>
#include <cmath>

#include "base/lines.h"
#include "base/script_error.h"
#include "base/text.h"
#include "base/variant.h"
#include "base/vocabulary.h"

namespace mireval {

const std::string& MarkerLine(CipherKind kind) {
  static const std::string ordinary(words::kOrdinaryMarker), strong(words::kStrongMarker);
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
  // Every character becomes a line of up to five characters: reserve it all at once (whole game
  // folders are scrambled at a time).
  std::size_t characters = 0;
  for (const std::string& line : plainLines) characters += line.size();
  out.reserve(out.size() + characters * 6 +
              plainLines.size() * (words::kScrambledLineEnd.size() + 2));
  Encoder encoder(kind);
  for (const std::string& line : plainLines) {
    encoder.Characters(line, out);
    encoder.EndLine(out);
  }
  return out;
}

void Encoder::Characters(std::string_view chars, std::string& out) {
  if (position_ == 0) key_ = CipherKey(kind_, line_);
  // The numbers are written straight into the text.
  char number[24];
  for (char c : chars) {
    const long long code = static_cast<unsigned char>(c);
    const auto [end, ec] = std::to_chars(number, number + sizeof number, code + ++position_ + key_);
    out.append(number, static_cast<std::size_t>(end - number));
    out.append("\r\n", 2);
  }
}

void Encoder::EndLine(std::string& out) {
  out += words::kScrambledLineEnd;
  out.append("\r\n", 2);
  position_ = 0;
  ++line_;
}

void Decoder::Line(std::string_view line, std::string& out) {
  if (line.size() == 3 && line[0] == '"' && line[1] == '0' && line[2] == '"') {  // "0"
    out.append("\r\n", 2);
    position_ = 0;
    key_ = CipherKey(kind_, ++line_);
    return;
  }
  const long long code = NumberLine(line) - ++position_ - key_;
  if (code < 0 || code > 255) throw ScriptError("damaged scrambled line: " + std::string(line));
  out += static_cast<char>(code);
}

std::string DecryptBody(std::string_view body, CipherKind kind) {
  std::string out;
  out.reserve(body.size() / 4);
  Decoder decoder(kind);
  std::size_t closed = 0;  // the decoded text up to the last "0" line
  std::size_t pos = 0;
  while (pos < body.size()) {
    decoder.Line(NextLine(body, pos), out);
    if (decoder.AtLineEnd()) closed = out.size();
  }
  out.resize(closed);
  return out;
}

}  // namespace mireval
