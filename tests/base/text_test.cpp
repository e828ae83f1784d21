#include "base/text.h"

#include <gtest/gtest.h>

namespace mireval {
namespace {

TEST(Text, RoundTripsEveryWindows1251Byte) {
  for (int b = 0; b < 256; ++b) {
    std::string one(1, static_cast<char>(b));
    EXPECT_EQ(FromUtf8(ToUtf8(one)), one) << "byte " << b;
  }
  EXPECT_EQ(ToUtf8("\xD0\xCD"), "РН");
  EXPECT_EQ(ToUtf8("\xA8\xB8\x96\xB9"), "Ёё–№");
}

TEST(Text, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  EXPECT_EQ(FromUtf8("a漢b"), "a?b");
  EXPECT_EQ(FromUtf8("x\xC3"), "x?");  // cut sequence
  EXPECT_EQ(FromUtf8("\xFFz"), "?z");  // byte that starts nothing
  EXPECT_EQ(FromUtf8("😀"), "?");
}

TEST(Text, UpperCasesLatinAndCyrillic) {
  EXPECT_EQ(ToUtf8(Upper(FromUtf8("взять Нож ёлка abc ї"))), "ВЗЯТЬ НОЖ ЁЛКА ABC Ї");
  EXPECT_TRUE(EqualsNoCase("Текстовый квест"_cp, "ТЕКСТОВЫЙ КВЕСТ"_cp));
  EXPECT_FALSE(EqualsNoCase("Текстовый квест "_cp, "ТЕКСТОВЫЙ КВЕСТ"_cp));
}

TEST(Text, RightStrokaReplacesEnDashesOnlyInPlace) {
  std::string line = FromUtf8("Л 5 –7 — x");
  std::string& result = StraightenDashes(line);
  EXPECT_EQ(&result, &line);
  EXPECT_EQ(ToUtf8(line), "Л 5 -7 — x");
}

TEST(Text, MidNeverReadsOutOfRange) {
  EXPECT_EQ(Mid("abc", 2), "bc");
  EXPECT_EQ(Mid("abc", 4), "");
  EXPECT_EQ(Mid("abc", 0), "abc");
  EXPECT_EQ(Mid("abc", 2, 5), "bc");
  EXPECT_EQ(Mid("abc", 2, -1), "");
}

}  // namespace
}  // namespace mireval
