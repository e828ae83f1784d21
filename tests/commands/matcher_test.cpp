#include "commands/matcher.h"

#include <gtest/gtest.h>

#include "engine/text.h"
#include "support/test_game.h"

namespace mireval {
namespace {

class MatcherTest : public ::testing::Test {
 protected:
  // Matches `pattern` against the typed `command` framed as the command line is.
  // Both ways of reading the synonym table must agree.
  bool Match(const std::string& pattern, const std::string& command, bool dialogue = false) {
    t.p.KomStroka = " " + FromUtf8(command) + " ";
    std::string text = FromUtf8(pattern);
    const bool direct = KomandProverka(t.p, text, dialogue);
    const Variant words = t.p.SlovaCount;
    text = FromUtf8(pattern);
    const bool indexed = KomandProverka(t.p, text, dialogue, SynonymIndex(t.p));
    EXPECT_EQ(direct, indexed) << pattern << " / " << command;
    EXPECT_EQ(words, t.p.SlovaCount) << pattern << " / " << command;
    return direct;
  }
  int Words() const { return static_cast<int>(t.p.SlovaCount.Number()); }
  void Pair(const std::string& a, const std::string& b) {
    t.p.Sinonim[static_cast<std::size_t>(t.p.SinonimCount + 1)] = FromUtf8(a);
    t.p.Sinonim[static_cast<std::size_t>(t.p.SinonimCount + 2)] = FromUtf8(b);
    t.p.SinonimCount += 2;
  }
  // Expects the pattern to be reported as unreadable and the program to end.
  void ExpectRejected(const std::string& pattern, const std::string& command, bool dialogue) {
    const std::string shown = pattern.empty() || pattern.back() != ' ' ? pattern + " " : pattern;
    t.p.KomStroka = " " + FromUtf8(command) + " ";
    for (bool indexed : {false, true}) {
      t.platform.messages.clear();
      std::string text = FromUtf8(pattern);
      EXPECT_EQ(ExpectEnd([&] {
                  if (indexed)
                    KomandProverka(t.p, text, dialogue, SynonymIndex(t.p));
                  else
                    KomandProverka(t.p, text, dialogue);
                }),
                kExitAfterError)
          << pattern;
      ASSERT_EQ(t.platform.messages.size(), 1u) << pattern;
      EXPECT_EQ(t.platform.messages[0], "Ошибка в строке: \r\n" + shown + "\r\n(комната №7)");
    }
  }
  void SetUp() override { t.p.Room = 7; }
  TestPlayer t;
};

TEST_F(MatcherTest, EveryWordMustBeFoundInAnyOrderAndCase) {
  EXPECT_TRUE(Match("Т ВЗЯТЬ НОЖ", "Взять нож"));
  EXPECT_EQ(Words(), 2);
  EXPECT_TRUE(Match("Т ВЗЯТЬ НОЖ", "нож взять"));
  EXPECT_TRUE(Match("Т ВЗЯТЬ НОЖ", "взять острый нож"));
  EXPECT_TRUE(Match("Т нож НОЖ", "НОЖ"));  // words are not used up
  EXPECT_FALSE(Match("Т ВЗЯТЬ НОЖ", "нож"));
  EXPECT_EQ(Words(), 1);  // the failing word counts, the walk stops there
  EXPECT_FALSE(Match("Т ВЗЯТЬ НОЖ ЛАМПУ", "взять лампу"));
  EXPECT_EQ(Words(), 2);
}

TEST_F(MatcherTest, DialogueModeReadsTheWholeText) {
  EXPECT_TRUE(Match("ВЗЯТЬ НОЖ", "взять нож", true));
  EXPECT_EQ(Words(), 2);
  EXPECT_FALSE(Match("Т ВЗЯТЬ НОЖ", "взять нож", true));  // "Т" is a word here
  EXPECT_EQ(Words(), 1);
  EXPECT_TRUE(Match("ДИАЛ АВТО", "ДИАЛ АВТО", true));
}

TEST_F(MatcherTest, WordKindsAndTheirBoundaries) {
  struct Case {
    const char* word;
    const char* command;
    bool found;
  };
  const Case cases[] = {
      {"НОЖ", "нож", true},
      {"НОЖ", "ножик", false},
      {"НОЖ", "перочинныйнож", false},
      {"НОЖ", "ножик перочинныйнож", false},
      {"НОЖ", "ножик нож", true},  // a later occurrence qualifies on its own
      {"НОЖ%", "ножом", true},
      {"НОЖ%", "перонож", false},
      {"%НОЖ", "перочинныйнож", true},
      {"%НОЖ", "ножик", false},
      {"%ОЖИ%", "ножик", true},
      {"%ОЖИ%", "ножи", true},
      {"%%", "что угодно", true},
      {"А%Б", "а%б", true},  // "%" inside a word is an ordinary character
      {"А%Б", "аб", false},
      {"Ё", "ё", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Match(std::string("Т ") + c.word, c.command), c.found)
        << c.word << " / " << c.command;
    EXPECT_EQ(Words(), 1);
  }
}

TEST_F(MatcherTest, APatternWithoutWordsNeverMatches) {
  EXPECT_FALSE(Match("Т ", "что угодно"));
  EXPECT_EQ(Words(), 0);
  EXPECT_FALSE(Match("Т", "т"));
  EXPECT_EQ(Words(), 0);
}

TEST_F(MatcherTest, TheCallersPatternGainsATrailingBlankOnce) {
  t.p.KomStroka = FromUtf8(" нож ");
  std::string pattern = FromUtf8("Т НОЖ");
  EXPECT_TRUE(KomandProverka(t.p, pattern, false));
  EXPECT_EQ(ToUtf8(pattern), "Т НОЖ ");
  EXPECT_TRUE(KomandProverka(t.p, pattern, false));
  EXPECT_EQ(ToUtf8(pattern), "Т НОЖ ");
  EXPECT_EQ(ToUtf8(t.p.KomStroka), " нож ");
}

TEST_F(MatcherTest, SynonymsStandInForAWholeWordInBothDirections) {
  Pair("ФОНАРЬ", "ЛАМПА");
  EXPECT_TRUE(Match("Т ВЗЯТЬ ФОНАРЬ", "взять лампа"));
  EXPECT_FALSE(Match("Т ВЗЯТЬ ФОНАРЬ", "взять лампу"));
  EXPECT_TRUE(Match("Т ВЗЯТЬ лампа", "взять фонарь"));
  // The core must equal an entry exactly: "ФОНАР" is neither.
  EXPECT_FALSE(Match("Т ФОНАР%", "лампа"));
}

TEST_F(MatcherTest, SynonymPartnersAreCutLikeTheWord) {
  Pair("ЛАМП", "ФОНАРЬ");
  EXPECT_TRUE(Match("Т ВЗЯТЬ ЛАМП%", "взять фонарик"));  // looks for "ФОНАР"
  EXPECT_FALSE(Match("Т ВЗЯТЬ ЛАМП%", "взять мойфонарик"));
  Pair("НОЖ", "КИНЖАЛ");
  EXPECT_TRUE(Match("Т НОЖ%", "кинжалом"));
  EXPECT_TRUE(Match("Т %НОЖ", "мойинжал"));  // looks for "ИНЖАЛ" at a word end
  EXPECT_TRUE(Match("Т %НОЖ%", "ккинжаа"));  // looks for "ИНЖА" anywhere
  EXPECT_FALSE(Match("Т %НОЖ%", "кинжбл"));
}

TEST_F(MatcherTest, EveryPairOfTheWordIsTried) {
  Pair("НОЖ", "КИНЖАЛ");
  Pair("НОЖ", "ТЕСАК");
  Pair("КЛИНОК", "НОЖ");
  EXPECT_TRUE(Match("Т НОЖ", "тесак"));
  EXPECT_TRUE(Match("Т НОЖ", "клинок"));
  EXPECT_FALSE(Match("Т НОЖ", "меч"));
}

TEST_F(MatcherTest, TheTableIsOnlyConsultedWhenTheWordItselfIsMissing) {
  Pair("НОЖ", "К");  // a partner too short to cut for an inner part
  EXPECT_TRUE(Match("Т %НОЖ%", "нож"));
  EXPECT_TRUE(t.platform.messages.empty());
  ExpectRejected("Т %НОЖ%", "меч", false);
}

TEST_F(MatcherTest, UnreadablePatternsAreReportedAndEndTheProgram) {
  ExpectRejected("Т ВЗЯТЬ  НОЖ", "взять нож", false);  // two blanks: an empty word
  ExpectRejected("Т  НОЖ", "нож", false);              // blank right after the line kind
  ExpectRejected("Т %", "нож", false);                 // a lone "%"
  ExpectRejected("", "нож", true);                     // an empty dialogue pattern
}

TEST_F(MatcherTest, AnEmptyPartnerCannotBeCut) {
  // An odd count leaves the last entry without a partner: its empty partner slot is used.
  t.p.Sinonim[1] = FromUtf8("НОЖ");
  t.p.SinonimCount = 1;
  ExpectRejected("Т НОЖ%", "меч", false);
  // A whole word takes the empty partner as it is.
  EXPECT_TRUE(Match("Т НОЖ", "меч"));
}

TEST_F(MatcherTest, AnOverlongTableIsReadOnlyWithinItsSlots) {
  t.p.Sinonim[kSynonymSlots - 1] = FromUtf8("НОЖ");
  t.p.Sinonim[kSynonymSlots] = FromUtf8("КИНЖАЛ");
  t.p.SinonimCount = kSynonymSlots + 7;
  EXPECT_TRUE(Match("Т НОЖ", "кинжал"));
}

}  // namespace
}  // namespace mireval
