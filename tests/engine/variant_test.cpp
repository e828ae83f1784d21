#include "engine/variant.h"

#include <gtest/gtest.h>

#include "engine/script_error.h"

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
