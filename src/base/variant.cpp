#include "base/variant.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "base/script_error.h"

namespace mireval {

// Numbers in game text are written and read with "." whatever the process locale says: the
// desktop toolkit adopts the user's locale, and a decimal comma would turn "2.5" into 2 and 2.5
// into "2,5". to_chars and from_chars never consult the locale.

std::string NumberText(double n) {
  char buf[64];
  std::to_chars_result r;
  if (n == std::floor(n) && std::fabs(n) < 1e15)
    r = std::to_chars(buf, buf + sizeof buf, static_cast<long long>(n));
  else
    r = std::to_chars(buf, buf + sizeof buf, n, std::chars_format::general, 15);  // as "%.15g"
  return std::string(buf, r.ptr);
}

namespace {

// The value of a decimal text already checked to be sign, digits, optional fraction and optional
// exponent. Too large for a double: nullopt. Too small: zero of its sign, as strtod gives, where
// from_chars would refuse it.
std::optional<double> DecimalValue(std::string_view s) {
  bool negative = false;
  if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  double v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    // Out of range either way: the decimal exponent of the first significant digit tells which.
    std::size_t mantissaEnd = std::min(s.find_first_of("eE"), s.size());
    std::size_t point = std::min(s.find('.'), mantissaEnd);
    std::size_t first = 0;
    while (first < mantissaEnd && (s[first] == '0' || s[first] == '.')) ++first;
    long order =
        first < point ? static_cast<long>(point - first) - 1 : -static_cast<long>(first - point);
    long exponent = 0;
    if (mantissaEnd < s.size()) {
      std::string_view e = s.substr(mantissaEnd + 1);
      bool down = !e.empty() && e[0] == '-';
      if (!e.empty() && (e[0] == '-' || e[0] == '+')) e.remove_prefix(1);
      for (char c : e) exponent = std::min(exponent * 10 + (c - '0'), 1000000L);
      if (down) exponent = -exponent;
    }
    if (order + exponent >= 0) return std::nullopt;
    v = 0;
  } else if (ec != std::errc() || end != s.data() + s.size()) {
    return std::nullopt;
  }
  return negative ? -v : v;
}

}  // namespace

std::optional<double> ParseNumber(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && s[b] == ' ') ++b;
  while (e > b && s[e - 1] == ' ') --e;
  if (b == e) return std::nullopt;
  std::size_t i = b;
  if (s[i] == '+' || s[i] == '-') ++i;
  std::size_t digits = 0;
  while (i < e && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
  if (i < e && s[i] == '.') {
    ++i;
    while (i < e && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (i < e && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < e && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t expDigits = 0;
    while (i < e && s[i] >= '0' && s[i] <= '9') ++i, ++expDigits;
    if (expDigits == 0) return std::nullopt;
  }
  if (i != e) return std::nullopt;
  return DecimalValue(s.substr(b, e - b));
}

double Variant::Number() const {
  if (IsEmpty()) return 0;
  if (IsNumber()) return std::get<double>(v_);
  auto n = ParseNumber(std::get<std::string>(v_));
  if (!n) throw ScriptError("type mismatch: not a number");
  return *n;
}

std::string Variant::Text() const {
  if (IsEmpty()) return {};
  if (IsNumber()) return NumberText(std::get<double>(v_));
  return std::get<std::string>(v_);
}

int Variant::Compare(const Variant& o) const {
  if (IsText() && o.IsText()) {
    int c = std::get<std::string>(v_).compare(std::get<std::string>(o.v_));
    return (c > 0) - (c < 0);
  }
  if (IsEmpty() && o.IsText()) return o.Text().empty() ? 0 : -1;  // empty reads as ""
  if (IsText() && o.IsEmpty()) return Text().empty() ? 0 : 1;
  double a = Number(), b = o.Number();
  return (a > b) - (a < b);
}

Variant Variant::operator+(const Variant& o) const {
  if (IsText() && o.IsText())
    return Variant(std::get<std::string>(v_) + std::get<std::string>(o.v_));
  if (IsEmpty() && o.IsText()) return o;
  if (IsText() && o.IsEmpty()) return *this;
  return Variant(Number() + o.Number());
}

namespace {
int16_t RoundToInt16(double v) {
  double r = std::nearbyint(v);  // the default rounding mode sends halves to the even neighbour
  if (!(r >= -32768.0 && r <= 32767.0)) throw ScriptError("overflow");
  return static_cast<int16_t>(r);
}
}  // namespace

int16_t ToInt16(const Variant& v) {
  if (v.IsText()) return TextToInt16(v.Text());
  return RoundToInt16(v.Number());
}

int16_t TextToInt16(std::string_view text) {
  auto n = ParseNumber(text);
  if (!n) throw ScriptError("type mismatch: '" + std::string(text) + "' is not a number");
  return RoundToInt16(*n);
}

double Val(std::string_view s) {
  std::string digits;
  std::size_t i = 0;
  auto skip = [&] {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\n' || s[i] == '\r')) ++i;
  };
  skip();
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) digits += s[i++];
  bool any = false, dot = false;
  for (;; ++i) {
    skip();
    if (i >= s.size()) break;
    char c = s[i];
    if (c >= '0' && c <= '9') {
      digits += c;
      any = true;
    } else if (c == '.' && !dot) {
      digits += c;
      dot = true;
    } else {
      break;
    }
  }
  if (!any) return 0;
  if (digits.size() > 300) digits.resize(300);  // keeps the value within a double's range
  return DecimalValue(digits).value_or(0);
}

long IntVal(std::string_view s) {
  double v = std::floor(Val(s));
  if (v > 2e9) return 2000000000L;
  if (v < -2e9) return -2000000000L;
  return static_cast<long>(v);
}

}  // namespace mireval
