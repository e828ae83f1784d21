#include "base/variant.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "base/script_error.h"

namespace mireval {
namespace {

TEST(Variant, EmptyEqualsZeroAndEmptyText) {
  Variant empty;
  EXPECT_EQ(empty, Variant(0));
  EXPECT_EQ(empty, Variant(""));
  EXPECT_NE(empty, Variant("x"));
  EXPECT_EQ(empty.Text(), "");
  EXPECT_EQ(empty.Number(), 0);
}

TEST(Variant, NumbersAndNumericTextsCompareByValue) {
  EXPECT_EQ(Variant("7"), Variant(7));
  EXPECT_EQ(Variant(" 7 ").Compare(Variant(7)), 0);
  EXPECT_LT(Variant(3).Compare(Variant("10")), 0);
  EXPECT_GT(Variant("b").Compare(Variant("a")), 0);
  EXPECT_THROW(Variant("семь").Compare(Variant(7)), ScriptError);
}

TEST(Variant, TextFormIsTheShortestDecimal) {
  EXPECT_EQ(Variant(12).Text(), "12");
  EXPECT_EQ(Variant(-3).Text(), "-3");
  EXPECT_EQ(Variant(2.5).Text(), "2.5");
  EXPECT_EQ((Variant(2) + Variant("3")).Text(), "5");
  EXPECT_EQ((Variant("a") + Variant("b")).Text(), "ab");
}

TEST(Variant, NumberTextsKeepTheirExactFormAndRange) {
  EXPECT_EQ(NumberText(1.0 / 3), "0.333333333333333");  // fifteen significant digits
  EXPECT_EQ(NumberText(1e15), "1e+15");                 // whole numbers as digits below 1e15
  EXPECT_EQ(ParseNumber("+.5"), 0.5);
  EXPECT_EQ(Val("+3.5x"), 3.5);
  // Beyond a double: too large is no number, too small is zero, as they always were.
  EXPECT_EQ(ParseNumber("9" + std::string(400, '0') + "e-5"), std::nullopt);
  EXPECT_EQ(ParseNumber("-1e-999"), 0);
}

// The desktop toolkit adopts the user's locale; in a Russian or German one the C library reads
// and writes a decimal comma.
TEST(Variant, NumbersIgnoreADecimalCommaLocale) {
  struct Restore {
    std::string name = std::setlocale(LC_NUMERIC, nullptr);
    ~Restore() { std::setlocale(LC_NUMERIC, name.c_str()); }
  } restore;
  bool comma = false;
  for (const char* name : {"ru_RU.UTF-8", "de_DE.UTF-8", "ru_RU.utf8", "de_DE.utf8"})
    if (std::setlocale(LC_NUMERIC, name) && *std::localeconv()->decimal_point == ',') {
      comma = true;
      break;
    }
  if (!comma) GTEST_SKIP() << "no decimal-comma locale installed";

  EXPECT_EQ(ParseNumber("2.5"), 2.5);
  EXPECT_EQ(ParseNumber("2,5"), std::nullopt);
  EXPECT_EQ(Variant(2.5).Text(), "2.5");
  EXPECT_EQ(NumberText(1.0 / 3), "0.333333333333333");
  EXPECT_EQ(Variant("2.5").Compare(Variant(2.5)), 0);
  EXPECT_EQ(TextToInt16("3.5"), 4);
  EXPECT_EQ(Val("1.75"), 1.75);
  EXPECT_EQ(IntVal("-7.5"), -8);
}

TEST(Variant, SixteenBitConversionRoundsHalvesToEvenAndChecksRange) {
  EXPECT_EQ(TextToInt16(" 12 "), 12);
  EXPECT_EQ(TextToInt16("2.5"), 2);
  EXPECT_EQ(TextToInt16("3.5"), 4);
  EXPECT_EQ(TextToInt16("-32768"), -32768);
  EXPECT_THROW(TextToInt16("32768"), ScriptError);
  EXPECT_THROW(TextToInt16(""), ScriptError);
  EXPECT_THROW(TextToInt16("12a"), ScriptError);
  EXPECT_THROW(TextToInt16(std::string(100000, '9')), ScriptError);
  EXPECT_EQ(ToInt16(Variant()), 0);
}

TEST(Variant, ValReadsTheLeadingNumber) {
  EXPECT_EQ(Val("14"), 14);
  EXPECT_EQ(Val(" 1 2abc"), 12);
  EXPECT_EQ(Val("x12"), 0);
  EXPECT_EQ(IntVal("7.9"), 7);
  EXPECT_EQ(IntVal(std::string(5000, '9')), 2000000000L);
}

}  // namespace
}  // namespace mireval
