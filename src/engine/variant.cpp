#include "engine/variant.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "engine/script_error.h"

namespace mireval {

std::string NumberText(double n) {
  if (n == std::floor(n) && std::fabs(n) < 1e15) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(n));
    return buf;
  }
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15g", n);
  return buf;
}

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
  std::string copy(s.substr(b, e - b));
  double v = std::strtod(copy.c_str(), nullptr);
  if (!std::isfinite(v)) return std::nullopt;
  return v;
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
  if (digits.size() > 300) digits.resize(300);  // keeps strtod away from absurd inputs
  double v = std::strtod(digits.c_str(), nullptr);
  return std::isfinite(v) ? v : 0;
}

long IntVal(std::string_view s) {
  double v = std::floor(Val(s));
  if (v > 2e9) return 2000000000L;
  if (v < -2e9) return -2000000000L;
  return static_cast<long>(v);
}

}  // namespace mireval
