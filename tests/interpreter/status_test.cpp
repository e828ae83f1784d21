#include "view/status.h"

#include <gtest/gtest.h>

#include "base/script_error.h"
#include "base/text.h"
#include "interpreter/score.h"
#include "support/test_game.h"

namespace mireval {
namespace {

class StatusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* words[] = {"добро", "зло", "добрый", "святой", "злой", "мерзавец"};
    for (int i = 1; i <= 6; ++i) t.p.characterWords[i] = FromUtf8(words[i - 1]);
    t.p.moves = 4;
  }
  std::string Verdict(int good, int evil) {
    t.p.character[1] = good;
    t.p.character[2] = evil;
    RefreshStatus(t.p);
    return ToUtf8(t.p.statusLabels[2].caption);
  }
  TestPlayer t;
};

// Extreme means more than 4 points on one side and more than four times the other side's; a tie
// counts as good.
TEST_F(StatusTest, CharacterVerdicts) {
  struct Row {
    int good, evil;
    const char* word;
  };
  for (const Row& row : {
           Row{0, 0, "добрый"},
           Row{7, 7, "добрый"},
           Row{4, 0, "добрый"},  // four points are never extreme
           Row{5, 0, "святой"},
           Row{5, 1, "святой"},
           Row{5, 2, "добрый"},
           Row{8, 2, "добрый"},
           Row{12, 3, "добрый"},  // exactly four times
           Row{13, 3, "святой"},
           Row{1, 2, "злой"},
           Row{0, 4, "злой"},
           Row{0, 5, "мерзавец"},
           Row{1, 5, "мерзавец"},
           Row{2, 8, "злой"},
           Row{3, 12, "злой"},
           Row{3, 13, "мерзавец"},
       })
    EXPECT_EQ(Verdict(row.good, row.evil), "Характер: добро " + std::to_string(row.good) +
                                               ", зло " + std::to_string(row.evil) + " (" +
                                               row.word + ").");
}

TEST_F(StatusTest, ScoreCountsTrueConditionsFromOneIncluding3000) {
  t.Set(-1);
  t.Set(5);
  t.Set(10000);
  t.Set(0, false);
  t.Set(3000, false);
  Verdict(0, 0);  // rewrites 0 and 3000 to True
  EXPECT_TRUE(t.p.conditions.Get(0));
  EXPECT_TRUE(t.p.conditions.Get(3000));
  EXPECT_EQ(ToUtf8(t.p.statusLabels[1].caption), "Ходы: 4, очки: 3.");
  Verdict(1, 9);
  EXPECT_FALSE(t.p.conditions.Get(0));
  EXPECT_FALSE(t.p.conditions.Get(3000));
  EXPECT_EQ(ToUtf8(t.p.statusLabels[1].caption), "Ходы: 4, очки: 2.");
}

TEST_F(StatusTest, LabelsShowTitleAndLocation) {
  t.p.gameTitle = "Игра"_cp;
  t.p.locationName = " Лес"_cp;
  RefreshStatus(t.p);
  EXPECT_EQ(ToUtf8(t.p.statusLabels[4].caption), "Игра");
  EXPECT_EQ(ToUtf8(t.p.statusLabels[0].caption), " Лес");
}

TEST_F(StatusTest, PointsThatAreNotNumbersAreAnErrorOfTheCaller) {
  t.p.character[1] = "много"_cp;
  t.p.character[2] = 1;
  EXPECT_THROW(RefreshStatus(t.p), ScriptError);
}

}  // namespace
}  // namespace mireval
