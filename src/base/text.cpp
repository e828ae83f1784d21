#include "base/text.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace mireval {
namespace {

// Unicode code points of the Windows-1251 bytes 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F.
constexpr std::array<char16_t, 64> kHigh = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
};

char32_t CodePoint(unsigned char b) {
  if (b < 0x80) return b;
  if (b < 0xC0) return kHigh[b - 0x80];
  return 0x0410 + (b - 0xC0);
}

int ByteFor(char32_t cp) {
  if (cp < 0x80) return static_cast<int>(cp);
  if (cp >= 0x0410 && cp <= 0x044F) return static_cast<int>(0xC0 + (cp - 0x0410));
  for (std::size_t i = 0; i < kHigh.size(); ++i)
    if (kHigh[i] == cp) return static_cast<int>(0x80 + i);
  return -1;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

struct UpperTable {
  std::array<char, 256> map{};
  UpperTable() {
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
const UpperTable kUpper;

// The UTF-8 form of every Windows-1251 byte, so that converting a text is one table lookup per
// character: front ends convert the whole story area and every label each time they draw.
struct Utf8Table {
  std::array<std::array<char, 3>, 256> bytes{};
  std::array<std::uint8_t, 256> length{};
  Utf8Table() {
    for (int b = 0; b < 256; ++b) {
      std::string one;
      AppendUtf8(one, CodePoint(static_cast<unsigned char>(b)));
      length[b] = static_cast<std::uint8_t>(one.size());
      for (std::size_t i = 0; i < one.size(); ++i) bytes[b][i] = one[i];
    }
  }
};
// Built on first use, so that texts converted while other files' statics are set up find it ready.
const Utf8Table& Utf8() {
  static const Utf8Table table;
  return table;
}

}  // namespace

std::string ToUtf8(std::string_view cp1251) {
  const Utf8Table& table = Utf8();
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
    int byte = ByteFor(cp);
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
