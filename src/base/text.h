// Text layer: inside the engine every text is a std::string of Windows-1251 bytes, one byte per
// character, exactly as the game files hold it. UTF-8 exists only at the edges (front ends, source
// literals).
#pragma once

#include <array>
#include <cstddef>
#include <optional>
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

// What a UTF-8 text file may begin with; it is no character of the text.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// Whether the bytes of a text file are UTF-8 rather than Windows-1251: they begin with the UTF-8
// byte order mark, or they are valid UTF-8 holding at least one character beyond ASCII. Russian
// text in Windows-1251 is in practice never valid UTF-8: each small letter there is a UTF-8 lead
// byte (or 0xF5-0xFF, never valid) that would have to be followed by bytes 0x80-0xBF, which are
// no letters of that code page.
bool IsUtf8Text(std::string_view bytes);
// A game's text file as the engine reads it, in Windows-1251: a UTF-8 file (IsUtf8Text) is
// converted, without its byte order mark; any other file is taken as it is.
std::string DecodeGameFile(std::string bytes);

// Where FromUtf8 would lose text: the first character of `utf8` that Windows-1251 has no code
// for, or the first byte that begins no well-formed character. Tools that must not silently turn
// an author's text into "?" name it instead.
inline constexpr char32_t kBrokenUtf8 = 0xFFFFFFFF;
struct Utf8Loss {
  std::size_t offset = 0;  // where it begins in the text
  std::size_t size = 0;    // its bytes; 1 for a byte that begins no character
  char32_t character = 0;  // its code point; kBrokenUtf8 for a byte that begins no character
};
std::optional<Utf8Loss> FindUtf8Loss(std::string_view utf8);

// Source literals are UTF-8; "Текст"_cp gives the Windows-1251 text.
inline std::string operator""_cp(const char* s, std::size_t n) {
  return FromUtf8({s, n});
}

namespace detail {

// Unicode code points of the Windows-1251 bytes 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F.
inline constexpr std::array<char16_t, 64> kCp1251High = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
};

constexpr char32_t CodePointOf(unsigned char b) {
  if (b < 0x80) return b;
  if (b < 0xC0) return kCp1251High[b - 0x80];
  return 0x0410 + (b - 0xC0);
}

// The Windows-1251 byte of a code point; -1 when the code page has none.
constexpr int Cp1251ByteFor(char32_t cp) {
  if (cp < 0x80) return static_cast<int>(cp);
  if (cp >= 0x0410 && cp <= 0x044F) return static_cast<int>(0xC0 + (cp - 0x0410));
  for (std::size_t i = 0; i < kCp1251High.size(); ++i)
    if (kCp1251High[i] == cp) return static_cast<int>(0x80 + i);
  return -1;
}

template <std::size_t N>
struct SourceText {
  char bytes[N]{};
  consteval SourceText(const char (&s)[N]) {  // NOLINT: a literal converts implicitly
    for (std::size_t i = 0; i < N; ++i) bytes[i] = s[i];
  }
};

template <std::size_t N>
struct Cp1251Chars {
  char chars[N]{};
  std::size_t size = 0;
};

// Reads the UTF-8 character at `i` and moves past it. Shortest forms only (no overlong forms, no
// surrogates, nothing beyond U+10FFFF); kNoCharacter, with `i` unmoved, for anything else.
inline constexpr char32_t kNoCharacter = 0xFFFFFFFF;
constexpr char32_t NextUtf8(std::string_view s, std::size_t& i) {
  const auto b = static_cast<unsigned char>(s[i]);
  if (b < 0x80) {
    ++i;
    return b;
  }
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the second byte's range
  if (b >= 0xC2 && b <= 0xDF) {
    length = 2;
  } else if (b >= 0xE0 && b <= 0xEF) {
    length = 3;
    if (b == 0xE0) low = 0xA0;
    if (b == 0xED) high = 0x9F;
  } else if (b >= 0xF0 && b <= 0xF4) {
    length = 4;
    if (b == 0xF0) low = 0x90;
    if (b == 0xF4) high = 0x8F;
  } else {
    return kNoCharacter;
  }
  if (i + length > s.size()) return kNoCharacter;
  char32_t cp = b & (0x7F >> length);
  for (std::size_t k = 1; k < length; ++k) {
    const auto c = static_cast<unsigned char>(s[i + k]);
    if (c < (k == 1 ? low : 0x80) || c > (k == 1 ? high : 0xBF)) return kNoCharacter;
    cp = (cp << 6) | (c & 0x3F);
  }
  i += length;
  return cp;
}

// Fails to compile for a broken sequence or a character the code page lacks, rather than
// turning it into "?" as FromUtf8 does at run time.
template <SourceText S>
consteval auto ToCp1251() {
  constexpr std::size_t n = sizeof(S.bytes) - 1;  // without the terminating zero
  const std::string_view text(S.bytes, n);
  Cp1251Chars<n + 1> out;
  for (std::size_t i = 0; i < n;) {
    const char32_t cp = NextUtf8(text, i);
    if (cp == kNoCharacter) throw "broken UTF-8 in a source literal";
    const int byte = Cp1251ByteFor(cp);
    if (byte < 0) throw "a character Windows-1251 does not have";
    out.chars[out.size++] = static_cast<char>(byte);
  }
  return out;
}

template <SourceText S>
inline constexpr auto kCp1251Of = ToCp1251<S>();

}  // namespace detail

// "Текст"_cpv is the same text made at compile time: a std::string_view onto static storage, for
// the format's words and other constant tables (no start-up work, usable in constexpr data).
template <detail::SourceText S>
constexpr std::string_view operator""_cpv() {
  return {detail::kCp1251Of<S>.chars, detail::kCp1251Of<S>.size};
}

// Upper-casing of Latin and Cyrillic letters (Ё/ё and the other Cyrillic letters of the code page
// included); every other byte stays.
char UpperChar(char c);
std::string Upper(std::string_view s);
bool EqualsNoCase(std::string_view a, std::string_view b);
// The form in which typed commands and the patterns of a game are compared: upper case, with
// «Ё» as «Е», since Russian writers use both letters for one.
std::string MatchingForm(std::string_view s);

// Every en dash (code 150) becomes "-". The argument is changed too; the result is its new value.
std::string& StraightenDashes(std::string& line);

bool StartsWith(std::string_view s, std::string_view prefix);
bool IsDigit(char c);

// 1-based substring helpers in the manner of the script format's descriptions: Mid(s, from) takes
// from character `from` to the end; out-of-range positions give the empty text, never a fault.
std::string Mid(std::string_view s, long from);
std::string Mid(std::string_view s, long from, long count);

}  // namespace mireval
