#include "view/word_columns.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "interpreter/score.h"
#include "support/test_game.h"

namespace mireval {
namespace {

class WordColumns : public ::testing::Test {
 protected:
  std::vector<std::string> Column(int c) {
    std::vector<std::string> out;
    for (const auto& w : t.p.wordColumns[c].items) out.push_back(ToUtf8(w));
    return out;
  }
  LocationPlayer t;
};

TEST_F(WordColumns, NoWordsMeanTheWideLayout) {
  t.Game("room1.txt", "РН x\nОП\nтекст\n");
  FillWordColumns(t.p);
  EXPECT_TRUE(t.p.wordColumns[0].items.empty());
  EXPECT_FALSE(t.p.wordColumns[0].visible);
  EXPECT_EQ(t.p.story.width, 789);
  EXPECT_EQ(t.p.statusLabels[1].left, 608);
}

TEST_F(WordColumns, WordsWithConditionsAndTheNarrowLayout) {
  t.Game("room1.txt", "РН x\nК1 взять\nК1 3 открыть дверь\nК2 12 –7 ключ\nК2 12слово\nК1 взять\n");
  t.Game("room0.txt", "РН общие\nК1 взять\nК2 фонарь\n");
  FillWordColumns(t.p);
  EXPECT_EQ(Column(0), (std::vector<std::string>{"взять"}));
  EXPECT_EQ(Column(1), (std::vector<std::string>{"слово", "фонарь"}));
  t.Set(3);
  t.Set(12);
  FillWordColumns(t.p);
  EXPECT_EQ(Column(0), (std::vector<std::string>{"взять", "открыть дверь"}));
  EXPECT_EQ(Column(1), (std::vector<std::string>{"ключ", "слово", "фонарь"}));
  t.Set(7);
  FillWordColumns(t.p);
  EXPECT_EQ(Column(1), (std::vector<std::string>{"слово", "фонарь"}));
  EXPECT_TRUE(t.p.wordColumns[1].visible);
  EXPECT_EQ(t.p.story.width, 560);
  EXPECT_EQ(t.p.statusLabels[2].left, 189);
  EXPECT_EQ(t.p.statusLabels[1].left, 163 + 189);
  EXPECT_EQ(t.p.pictureClose.left, 8010);
}

TEST_F(WordColumns, WordLineWithoutAWordKeepsTheWordsFoundSoFar) {
  t.Game("room1.txt", "РН x\nК1 взять\nК2 5 \nК1 бросить\n");
  t.p.wordColumns[0].visible = false;
  FillWordColumns(t.p);
  EXPECT_EQ(Column(0), (std::vector<std::string>{"взять"}));
  ASSERT_EQ(t.platform.messages.size(), 1u);
  EXPECT_EQ(t.platform.messages[0],
            "Ошибка при просчете добавления слов в столбцы в строке К2 5 )");
  EXPECT_FALSE(t.p.wordColumns[0].visible);  // the layout is not rearranged
  EXPECT_FALSE(t.p.file.IsOpen());
}

TEST_F(WordColumns, ClicksPutWordsIntoTheInputLine) {
  t.p.wordColumns[0].items = {FromUtf8("взять")};
  t.p.wordColumns[1].items = {FromUtf8("нож")};
  OnWordClicked(t.p, 0, 0);
  EXPECT_EQ(ToUtf8(t.p.input.text), "взять ");
  OnWordClicked(t.p, 0, 0);
  EXPECT_EQ(ToUtf8(t.p.input.text), "взять ");
  OnWordClicked(t.p, 1, 0);
  EXPECT_EQ(ToUtf8(t.p.input.text), "взять  нож");
  t.p.input.SetText("");
  OnWordClicked(t.p, 1, 0);
  EXPECT_EQ(ToUtf8(t.p.input.text), " нож");
  OnWordClicked(t.p, 1, 5);  // no such word: nothing happens
  EXPECT_EQ(t.p.focus, Focus::Input);
}

TEST_F(WordColumns, TheScorePassRefillsTheColumns) {
  t.Game("room1.txt", "РН x\nПС 4 = 1\nК1 4 идти\n");
  SettleScoreVariables(t.p);
  EXPECT_EQ(Column(0), (std::vector<std::string>{"идти"}));
}

}  // namespace
}  // namespace mireval
