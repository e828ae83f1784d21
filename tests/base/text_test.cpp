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

// A game's files may be UTF-8, file by file; a Windows-1251 file must never be taken for one.
TEST(Text, GameFilesInUtf8AreReadAsWindows1251AndWindows1251FilesAsTheyAre) {
  const std::string cp1251 = FromUtf8("РН Мельница\r\nОП\r\n«Ёлка» — №5, ёж.\r\n");
  EXPECT_FALSE(IsUtf8Text(cp1251));
  EXPECT_EQ(DecodeGameFile(cp1251), cp1251);
  const std::string utf8 = ToUtf8(cp1251);
  EXPECT_EQ(DecodeGameFile(utf8), cp1251);
  EXPECT_EQ(DecodeGameFile("\xEF\xBB\xBF" + utf8), cp1251);
  EXPECT_EQ(DecodeGameFile("\xEF\xBB\xBF"
                           "abc"),
            "abc");  // a mark before ASCII alone
  EXPECT_EQ(DecodeGameFile("plain ASCII\r\n"), "plain ASCII\r\n");
  EXPECT_EQ(DecodeGameFile("x 漢"), "x ?");  // no Windows-1251 form

  // Every byte value, alone, between letters, after a capital letter and after a small one
  // (Windows-1251 capitals are UTF-8 lead bytes of two-byte forms): still Windows-1251.
  for (int b = 0x80; b < 256; ++b) {
    const char c = static_cast<char>(b);
    for (const std::string& text :
         {std::string(1, c), FromUtf8("дом ") + c + FromUtf8(" дом"),
          FromUtf8("ТАСС") + c + FromUtf8(" сказал"), FromUtf8("а") + c + FromUtf8("б")})
      EXPECT_EQ(DecodeGameFile(text), text) << "byte " << b;
  }
  // Broken or overlong UTF-8 is not UTF-8.
  for (const char* bytes :
       {"\xC3", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "ok \xD0"})
    EXPECT_FALSE(IsUtf8Text(bytes)) << bytes;
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
