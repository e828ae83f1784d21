// Dynamically typed script values: empty, a number or a text. Empty compares equal to 0 and to "".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace mireval {

class Variant {
 public:
  Variant() = default;
  Variant(double n) : v_(n) {}                     // NOLINT(google-explicit-constructor)
  Variant(int n) : v_(static_cast<double>(n)) {}   // NOLINT(google-explicit-constructor)
  Variant(long n) : v_(static_cast<double>(n)) {}  // NOLINT(google-explicit-constructor)
  Variant(std::string s) : v_(std::move(s)) {}     // NOLINT(google-explicit-constructor)
  Variant(const char* s) : v_(std::string(s)) {}   // NOLINT(google-explicit-constructor)

  bool IsEmpty() const { return std::holds_alternative<std::monostate>(v_); }
  bool IsNumber() const { return std::holds_alternative<double>(v_); }
  bool IsText() const { return std::holds_alternative<std::string>(v_); }

  // The value as a number: empty is 0, a text must read as a number (else ScriptError).
  double Number() const;
  // The default text form: empty is "", a number its shortest decimal text.
  std::string Text() const;

  // Three-way comparison: numbers (and empty) numerically, two texts by their bytes, a number
  // against a text numerically when the text reads as a number. Anything else is a type mismatch
  // (ScriptError).
  int Compare(const Variant& other) const;
  bool operator==(const Variant& o) const { return Compare(o) == 0; }

  // "+": numbers add, two texts join, a number and a numeric text add.
  Variant operator+(const Variant& o) const;

 private:
  std::variant<std::monostate, double, std::string> v_;
};

// Shortest decimal text of a number ("12", "-3", "2.5").
std::string NumberText(double n);

// A text that is wholly a number (blanks around it allowed): sign, digits, optional fraction and
// exponent. std::nullopt otherwise.
std::optional<double> ParseNumber(std::string_view s);

// Conversion to a 16-bit integer: halves round to the even neighbour; a text that is not a number
// or a value outside -32768..32767 is a ScriptError.
int16_t ToInt16(const Variant& v);
int16_t TextToInt16(std::string_view text);

// The numeric value of the leading number of a text, blanks skipped, 0 when there is none.
double Val(std::string_view s);

// Largest integer not greater than the value of the text (0 for no number).
long IntVal(std::string_view s);

}  // namespace mireval
