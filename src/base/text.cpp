#include "base/text.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace mireval {
namespace {

struct UpperTable {
  std::array<char, 256> map{};
  constexpr UpperTable() {
    for (int i = 0; i < 256; ++i) map[i] = static_cast<char>(i);
    for (int c = 'a'; c <= 'z'; ++c) map[c] = static_cast<char>(c - 32);
    for (int c = 0xE0; c <= 0xFF; ++c) map[c] = static_cast<char>(c - 32);
    // Cyrillic letters outside the main block: lower -> upper.
    const std::pair<int, int> pairs[] = {{0xB8, 0xA8}, {0x90, 0x80}, {0x83, 0x81}, {0x9A, 0x8A},
                                         {0x9C, 0x8C}, {0x9D, 0x8D}, {0x9E, 0x8E}, {0x9F, 0x8F},
                                         {0xA2, 0xA1}, {0xBC, 0xA3}, {0xB4, 0xA5}, {0xBA, 0xAA},
                                         {0xBF, 0xAF}, {0xB3, 0xB2}, {0xBE, 0xBD}};
    for (auto [lower, upper] : pairs) map[lower] = static_cast<char>(upper);
  }
};
constexpr UpperTable kUpper;

// The UTF-8 form of every Windows-1251 byte, so that converting a text is one table lookup per
// character: front ends convert the whole story area and every label each time they draw.
struct Utf8Table {
  std::array<std::array<char, 3>, 256> bytes{};
  std::array<std::uint8_t, 256> length{};
  constexpr Utf8Table() {
    for (int b = 0; b < 256; ++b) {
      const char32_t cp = detail::CodePointOf(static_cast<unsigned char>(b));
      auto& out = bytes[static_cast<std::size_t>(b)];
      if (cp < 0x80) {
        out = {static_cast<char>(cp), 0, 0};
        length[static_cast<std::size_t>(b)] = 1;
      } else if (cp < 0x800) {
        out = {static_cast<char>(0xC0 | (cp >> 6)), static_cast<char>(0x80 | (cp & 0x3F)), 0};
        length[static_cast<std::size_t>(b)] = 2;
      } else {
        out = {static_cast<char>(0xE0 | (cp >> 12)), static_cast<char>(0x80 | ((cp >> 6) & 0x3F)),
               static_cast<char>(0x80 | (cp & 0x3F))};
        length[static_cast<std::size_t>(b)] = 3;
      }
    }
  }
};
constexpr Utf8Table kUtf8;

}  // namespace

std::string ToUtf8(std::string_view cp1251) {
  const Utf8Table& table = kUtf8;
  std::size_t size = 0;
  for (char c : cp1251) size += table.length[static_cast<unsigned char>(c)];
  std::string out(size, '\0');
  char* o = out.data();
  for (char c : cp1251) {
    const unsigned char b = static_cast<unsigned char>(c);
    const char* from = table.bytes[b].data();
    for (std::uint8_t i = 0, n = table.length[b]; i < n; ++i) *o++ = from[i];
  }
  return out;
}

std::string ToUtf8Shown(std::string_view cp1251) {
  std::string without;
  without.reserve(cp1251.size());
  for (char c : cp1251)
    if (c != '\r') without += c;
  return ToUtf8(without);
}

std::string FromUtf8(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    unsigned char b = static_cast<unsigned char>(s[i]);
    char32_t cp;
    std::size_t len;
    if (b < 0x80) {
      cp = b;
      len = 1;
    } else if ((b & 0xE0) == 0xC0) {
      cp = b & 0x1F;
      len = 2;
    } else if ((b & 0xF0) == 0xE0) {
      cp = b & 0x0F;
      len = 3;
    } else if ((b & 0xF8) == 0xF0) {
      cp = b & 0x07;
      len = 4;
    } else {
      out += '?';
      ++i;
      continue;
    }
    bool ok = i + len <= s.size();
    for (std::size_t k = 1; ok && k < len; ++k) {
      unsigned char cont = static_cast<unsigned char>(s[i + k]);
      if ((cont & 0xC0) != 0x80)
        ok = false;
      else
        cp = (cp << 6) | (cont & 0x3F);
    }
    if (!ok) {
      out += '?';
      ++i;
      continue;
    }
    int byte = detail::Cp1251ByteFor(cp);
    out += byte < 0 ? '?' : static_cast<char>(byte);
    i += len;
  }
  return out;
}

char UpperChar(char c) {
  return kUpper.map[static_cast<unsigned char>(c)];
}

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = UpperChar(c);
  return out;
}

bool IsUtf8Text(std::string_view s) {
  if (StartsWith(s, kUtf8ByteOrderMark)) return true;
  bool beyondAscii = false;
  for (std::size_t i = 0; i < s.size();) {
    const char32_t cp = detail::NextUtf8(s, i);
    if (cp == detail::kNoCharacter) return false;
    beyondAscii = beyondAscii || cp >= 0x80;
  }
  return beyondAscii;
}

std::string DecodeGameFile(std::string bytes) {
  if (!IsUtf8Text(bytes)) return bytes;
  const std::size_t bom = StartsWith(bytes, kUtf8ByteOrderMark) ? kUtf8ByteOrderMark.size() : 0;
  return FromUtf8(std::string_view(bytes).substr(bom));
}

std::optional<Utf8Loss> FindUtf8Loss(std::string_view utf8) {
  for (std::size_t i = 0; i < utf8.size();) {
    const std::size_t at = i;
    const char32_t cp = detail::NextUtf8(utf8, i);
    if (cp == detail::kNoCharacter) return Utf8Loss{at, 1, kBrokenUtf8};
    if (detail::Cp1251ByteFor(cp) < 0) return Utf8Loss{at, i - at, cp};
  }
  return std::nullopt;
}

std::string MatchingForm(std::string_view s) {
  constexpr char kYo = '\xA8', kYe = '\xC5';  // Ё and Е in Windows-1251
  std::string out = Upper(s);
  for (char& c : out)
    if (c == kYo) c = kYe;
  return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (UpperChar(a[i]) != UpperChar(b[i])) return false;
  return true;
}

std::string& StraightenDashes(std::string& line) {
  // Every line read passes here and few hold a dash: let memchr find them.
  char* at = line.data();
  char* const end = at + line.size();
  while ((at = static_cast<char*>(std::memchr(at, 150, static_cast<std::size_t>(end - at)))))
    *at++ = '-';
  return line;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string Mid(std::string_view s, long from) {
  if (from < 1) from = 1;
  if (static_cast<std::size_t>(from) > s.size()) return {};
  return std::string(s.substr(static_cast<std::size_t>(from - 1)));
}

std::string Mid(std::string_view s, long from, long count) {
  if (from < 1) from = 1;
  if (count <= 0 || static_cast<std::size_t>(from) > s.size()) return {};
  return std::string(s.substr(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(count)));
}

}  // namespace mireval
