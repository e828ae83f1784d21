// The floating-point std::to_chars and std::from_chars that the engine writes and reads numbers
// with, for a standard library that lacks them (emscripten 3.1.6 ships a libc++ without them).
// The top-level CMakeLists.txt puts this header in front of every source of the web build. It
// stands in through the C library, whose conversions in that runtime know only the "C" locale, so
// the engine's reason for choosing these functions (a decimal point whatever the locale) still
// holds.
#pragma once

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <system_error>

#if !defined(__cpp_lib_to_chars)

namespace std {

inline to_chars_result to_chars(char* first, char* last, double value, chars_format format,
                                int precision) {
  const char* pattern = format == chars_format::fixed        ? "%.*f"
                        : format == chars_format::scientific ? "%.*e"
                                                             : "%.*g";
  const int n = std::snprintf(nullptr, 0, pattern, precision, value);
  if (n < 0 || n > last - first) return {last, errc::value_too_large};
  std::string text(static_cast<std::size_t>(n) + 1, '\0');
  std::snprintf(text.data(), text.size(), pattern, precision, value);
  return {std::copy_n(text.data(), n, first), errc()};
}

// As the standard's: no leading blank or "+", no hexadecimal form; out of range leaves `value`
// as it was.
inline from_chars_result from_chars(const char* first, const char* last, double& value,
                                    chars_format format = chars_format::general) {
  const std::string text(first, last);
  const std::size_t digits = !text.empty() && text[0] == '-' ? 1 : 0;
  const bool hex = text.compare(digits, 2, "0x") == 0 || text.compare(digits, 2, "0X") == 0;
  const bool refused =
      text.empty() || text[0] == '+' ||
      (text[0] != '-' && !std::isalnum(static_cast<unsigned char>(text[0])) && text[0] != '.');
  if (refused || hex || format == chars_format::hex) return {first, errc::invalid_argument};
  char* end = nullptr;
  errno = 0;
  const double v = std::strtod(text.c_str(), &end);
  const std::ptrdiff_t used = end - text.c_str();
  if (used == 0) return {first, errc::invalid_argument};
  if (errno == ERANGE) return {first + used, errc::result_out_of_range};
  value = v;
  return {first + used, errc()};
}

}  // namespace std

#endif
