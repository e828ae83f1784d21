#include "base/cipher.h"

#include <gtest/gtest.h>

#include "base/lines.h"
#include "base/script_error.h"
#include "base/text.h"

namespace mireval {
namespace {

TEST(Cipher, KeysOfBothVariants) {
  EXPECT_EQ(CipherKey(CipherKind::Ordinary, 0), 0);
  EXPECT_EQ(CipherKey(CipherKind::Ordinary, 1), 1);
  EXPECT_EQ(CipherKey(CipherKind::Ordinary, 16), 32);
  EXPECT_EQ(CipherKey(CipherKind::Ordinary, 81), 43);
  EXPECT_EQ(CipherKey(CipherKind::Strong, 0), 0);
  EXPECT_EQ(CipherKey(CipherKind::Strong, 1), 3);
  EXPECT_EQ(CipherKey(CipherKind::Strong, 4), 12);
  EXPECT_EQ(CipherKey(CipherKind::Strong, 9), 33);
}

// Keys rounded to the nearest whole number, not cut down (3.948 is 4), and taken modulo 100 for
// lines far into a long file.
TEST(Cipher, KeysRoundToNearestAndWrapPastAHundred) {
  struct Row {
    CipherKind kind;
    long line;
    int key;
  };
  for (const Row& row : {
           Row{CipherKind::Ordinary, 2, 2},        // 2.378
           Row{CipherKind::Ordinary, 3, 4},        // 3.948
           Row{CipherKind::Ordinary, 10, 18},      // 17.783
           Row{CipherKind::Ordinary, 99, 12},      // 312.280
           Row{CipherKind::Ordinary, 1000, 23},    // 5623.413
           Row{CipherKind::Ordinary, 65536, 76},   // 1048576
           Row{CipherKind::Ordinary, 100000, 79},  // 1778279.410
           Row{CipherKind::Strong, 2, 6},          // 5.657
           Row{CipherKind::Strong, 3, 9},          // 8.660
           Row{CipherKind::Strong, 10, 38},        // 37.947
           Row{CipherKind::Strong, 99, 5},         // 1004.937
           Row{CipherKind::Strong, 1000, 86},      // 31686.022
           Row{CipherKind::Strong, 100000, 9},     // 31623409.057
           Row{CipherKind::Strong, 1000000, 0},    // 1000002000
       })
    EXPECT_EQ(CipherKey(row.kind, row.line), row.key)
        << (row.kind == CipherKind::Strong ? "strong " : "ordinary ") << row.line;
}

TEST(Cipher, DecodesTheTwoCharacterExample) {
  EXPECT_EQ(DecryptBody("209\r\n207\r\n\"0\"\r\n", CipherKind::Ordinary), "РН"_cp + "\r\n");
}

TEST(Cipher, EncodesPositionsAndLineKeys) {
  std::string file = Encrypt({"abcd", ""}, CipherKind::Ordinary);
  EXPECT_EQ(SplitLines(file), (std::vector<std::string>{MarkerLine(CipherKind::Ordinary), "98",
                                                        "100", "102", "104", "\"0\"", "\"0\""}));
}

TEST(Cipher, BothVariantsRoundTripManyLines) {
  std::vector<std::string> lines;
  for (int i = 0; i < 300; ++i)
    lines.push_back(FromUtf8("Строка №") + std::to_string(i) +
                    std::string(1, static_cast<char>(i)));
  lines.push_back("");
  for (CipherKind kind : {CipherKind::Ordinary, CipherKind::Strong}) {
    std::string file = Encrypt(lines, kind);
    std::size_t pos = 0;
    ASSERT_EQ(NextLine(file, pos), MarkerLine(kind));
    EXPECT_EQ(DecryptBody(std::string_view(file).substr(pos), kind), JoinCrLf(lines));
  }
}

TEST(Cipher, StrongKeysDifferFromLineOneOn) {
  std::string file = Encrypt({"a", "b"}, CipherKind::Ordinary);
  std::size_t pos = 0;
  NextLine(file, pos);
  std::string decoded = DecryptBody(std::string_view(file).substr(pos), CipherKind::Strong);
  EXPECT_EQ(SplitLines(decoded)[0], "a");
  EXPECT_NE(SplitLines(decoded)[1], "b");
}

TEST(Cipher, DamagedFilesAreErrorsNotGarbage) {
  EXPECT_THROW(DecryptBody("12x\r\n\"0\"\r\n", CipherKind::Ordinary), ScriptError);
  EXPECT_THROW(DecryptBody("0\r\n\"0\"\r\n", CipherKind::Ordinary), ScriptError);    // code -1
  EXPECT_THROW(DecryptBody("900\r\n\"0\"\r\n", CipherKind::Ordinary), ScriptError);  // code 899
  EXPECT_THROW(DecryptBody(std::string(100000, '9'), CipherKind::Ordinary), ScriptError);
  // A last line without its closing "0" line is dropped.
  EXPECT_EQ(DecryptBody("98\r\n\"0\"\r\n98\r\n", CipherKind::Ordinary), "a\r\n");
  EXPECT_EQ(DecryptBody("", CipherKind::Ordinary), "");
}

TEST(Cipher, MarkersAreExactAndCaseSensitive) {
  EXPECT_EQ(MarkerKind("\"ЗАШИФРОВАНО\""_cp), CipherKind::Ordinary);
  EXPECT_EQ(MarkerKind("\"СИЛЬНО ЗАШИФРОВАНО\""_cp), CipherKind::Strong);
  EXPECT_FALSE(MarkerKind("\"зашифровано\""_cp));
  EXPECT_FALSE(MarkerKind("ЗАШИФРОВАНО"_cp));
  EXPECT_FALSE(MarkerKind("\"ЗАШИФРОВАНО\" "_cp));
}

}  // namespace
}  // namespace mireval
