#include "interpreter/matcher.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "support/test_game.h"

namespace mireval {
namespace {

class MatcherTest : public ::testing::Test {
 protected:
  void SetUp() override { t.p.location = 7; }
  // Matches with the table read directly and through an index; both must agree.
  bool Match(const std::string& pattern, const std::string& command, bool dialogue = false) {
    t.p.commandLine = " " + FromUtf8(command) + " ";
    std::string text = FromUtf8(pattern);
    const bool direct = CommandMatches(t.p, text, dialogue);
    const Variant words = t.p.wordLinesCount;
    text = FromUtf8(pattern);
    EXPECT_EQ(CommandMatches(t.p, text, dialogue, SynonymIndex(t.p)), direct) << pattern;
    EXPECT_EQ(t.p.wordLinesCount, words) << pattern;
    return direct;
  }
  int Words() const { return static_cast<int>(t.p.wordLinesCount.Number()); }
  void Pair(const std::string& a, const std::string& b) {
    t.p.synonyms[static_cast<std::size_t>(++t.p.synonymCount)] = FromUtf8(a);
    t.p.synonyms[static_cast<std::size_t>(++t.p.synonymCount)] = FromUtf8(b);
  }
  TestPlayer t;
};

TEST_F(MatcherTest, EveryWordMustBeFoundInAnyOrderAndCase) {
  EXPECT_TRUE(Match("Т ВЗЯТЬ НОЖ", "Нож острый взять"));
  EXPECT_EQ(Words(), 2);
  EXPECT_TRUE(Match("Т нож НОЖ", "НОЖ"));  // words are not used up
  EXPECT_FALSE(Match("Т ВЗЯТЬ НОЖ ЛАМПУ", "взять лампу"));
  EXPECT_EQ(Words(), 2);  // counted up to the failing word
  EXPECT_FALSE(Match("Т ", "т"));
  EXPECT_EQ(Words(), 0);
  EXPECT_TRUE(Match("ВЗЯТЬ НОЖ", "взять нож", true));
  EXPECT_FALSE(Match("Т ВЗЯТЬ НОЖ", "взять нож", true));  // in a dialogue "Т" is a word
  std::string pattern = FromUtf8("Т НОЖ");
  t.p.commandLine = FromUtf8(" нож ");
  CommandMatches(t.p, pattern, false);
  EXPECT_EQ(ToUtf8(pattern), "Т НОЖ ");
}

TEST_F(MatcherTest, WordKindsAndTheirBoundaries) {
  const struct {
    const char *word, *command;
    bool found;
  } cases[] = {
      {"НОЖ", "нож", true},       {"НОЖ", "ножик перочинныйнож", false},
      {"НОЖ", "ножик нож", true}, {"НОЖ%", "ножом", true},
      {"НОЖ%", "перонож", false}, {"%НОЖ", "перочинныйнож", true},
      {"%НОЖ", "ножик", false},   {"%ОЖИ%", "ножик", true},
      {"%ОЖИ%", "ножи", true},    {"%%", "что угодно", true},
      {"А%Б", "а%б", true},       {"А%Б", "аб", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Match(std::string("Т ") + c.word, c.command), c.found) << c.word << " " << c.command;
}

TEST_F(MatcherTest, SynonymPartnersStandInAndAreCutLikeTheWord) {
  Pair("ФОНАРЬ", "ЛАМПА");
  Pair("ЛАМП", "ФОНАРЬ");
  Pair("НОЖ", "КИНЖАЛ");
  Pair("КЛИНОК", "НОЖ");
  const struct {
    const char *word, *command;
    bool found;
  } cases[] = {
      {"ФОНАРЬ", "взять лампа", true}, {"ФОНАРЬ", "взять лампу", false}, {"лампа", "фонарь", true},
      {"ФОНАР%", "лампа", false},  // no entry equals "ФОНАР"
      {"ЛАМП%", "фонарик", true},      {"ЛАМП%", "мойфонарик", false},   {"НОЖ%", "кинжалом", true},
      {"%НОЖ", "мойинжал", true},      {"%НОЖ%", "ккинжаа", true},       {"НОЖ", "клинок", true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Match(std::string("Т ") + c.word, c.command), c.found) << c.word << " " << c.command;
}

// Russian writers use «ё» and «е» for one letter: a pattern, a synonym or a dialogue written with
// one matches a command typed with the other, in either case.
TEST_F(MatcherTest, YoAndYeAreOneLetter) {
  Pair("ЁЛКА", "ЕЛЬ");
  const struct {
    const char *pattern, *command;
    bool dialogue, found;
  } cases[] = {
      {"Т ЁЖИК", "ежик", false, true},        {"Т ЕЖИК", "Ёжик", false, true},
      {"Т ЕЖ%", "ёжика", false, true},        {"Т %ЁЛ%", "веселый", false, true},
      {"Т ЕЛКА", "ель", false, true},         {"Т ЕЛЬ", "ёлка", false, true},
      {"ПРИВЕТ ЁЖ", "привет еж", true, true}, {"Т ЁЖИК", "ежи", false, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Match(c.pattern, c.command, c.dialogue), c.found) << c.pattern << " / " << c.command;
  // The command line itself keeps what was typed: echoes and the log show it.
  Match("Т ЕЖ", "ёж");
  EXPECT_EQ(ToUtf8(t.p.commandLine), " ёж ");
}

TEST_F(MatcherTest, UnreadablePatternsAreReportedAndEndTheProgram) {
  Pair("КОТ", "К");                                    // too short to cut for an inner part
  t.p.synonyms[++t.p.synonymCount] = FromUtf8("ПЕС");  // no partner: an empty one
  EXPECT_TRUE(Match("Т %КОТ%", "кот"));                // found itself: the table is not read
  EXPECT_TRUE(Match("Т ПЕС", "мышь"));  // a whole word takes the empty partner as it is
  const struct {
    const char* pattern;
    bool dialogue;
  } cases[] = {{"Т ВЗЯТЬ  НОЖ", false}, {"Т  НОЖ", false}, {"Т %", false}, {"", true},
               {"Т %КОТ%", false},      {"Т ПЕС%", false}};
  for (const auto& c : cases) {
    for (bool indexed : {false, true}) {
      t.platform.messages.clear();
      t.p.commandLine = FromUtf8(" взять мышь ");
      std::string text = FromUtf8(c.pattern);
      EXPECT_EQ(FatalReport(t.platform,
                            [&] {
                              if (indexed)
                                CommandMatches(t.p, text, c.dialogue, SynonymIndex(t.p));
                              else
                                CommandMatches(t.p, text, c.dialogue);
                            }),
                "Ошибка в строке: \r\n" + std::string(c.pattern) + " \r\n(комната №7)")
          << c.pattern;
    }
  }
}

}  // namespace
}  // namespace mireval
