#include "view/output.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "support/test_game.h"

namespace mireval {
namespace {

class WriteStoryLineTest : public ::testing::Test {
 protected:
  // Appends the line as a description does (line + CR LF) and hands it to the writer.
  void Say(const std::string& utf8) {
    std::string line = FromUtf8(utf8);
    t.p.story.Append(line + "\r\n");
    WriteStoryLine(t.p, line);
  }
  // As a command entry does: CR LF + line.
  void Reply(const std::string& utf8) {
    std::string line = FromUtf8(utf8);
    t.p.story.Append("\r\n" + line);
    WriteStoryLine(t.p, line);
  }
  TestPlayer t;
};

TEST_F(WriteStoryLineTest, PausesAtTheThresholdOfTheHiddenPanel) {
  Say(std::string(1249, 'a'));
  EXPECT_EQ(t.platform.pumps, 0);
  EXPECT_EQ(t.p.charactersSincePause, 1249);

  std::string seen;
  t.platform.Then([&](Player& p) {
    seen = ToUtf8(p.story.text.substr(p.story.text.size() - 33));
    EXPECT_TRUE(p.outputPaused);
    EXPECT_EQ(p.focus, Focus::Input);
  });
  t.platform.Enter();
  Say("b");
  EXPECT_EQ(seen, "< Нажмите Enter для продолжения >");
  EXPECT_EQ(t.p.charactersSincePause, 0);
  EXPECT_FALSE(t.p.outputPaused);
  EXPECT_EQ(t.p.story.text, std::string(1249, 'a') + "\r\nb\r\n");
}

TEST_F(WriteStoryLineTest, PanelShownPausesAtOneThousandWithFocusOnTheAnswerPanel) {
  t.p.answers[0].visible = true;
  t.platform.Then([&](Player& p) { EXPECT_EQ(p.focus, Focus::AnswerPanel); });
  t.platform.Enter();
  Say(std::string(1000, 'a'));
  EXPECT_EQ(t.platform.Pending(), 0u);
  EXPECT_EQ(t.p.charactersSincePause, 0);
}

TEST_F(WriteStoryLineTest, CarriageReturnsWeighThirty) {
  std::string line = "abc\rdefg\rhij\r";
  t.p.story.Append(line);
  WriteStoryLine(t.p, line);
  EXPECT_EQ(t.p.charactersSincePause, 13 + 90);
}

TEST_F(WriteStoryLineTest, ForcedPauseOnlyForShortLines) {
  t.platform.Enter();
  Say("НЖ ");
  EXPECT_EQ(t.platform.pumps, 1);
  EXPECT_EQ(t.p.charactersSincePause, 0);
  Say("НЖ  ");  // four characters: ordinary text
  EXPECT_EQ(t.platform.pumps, 1);
  EXPECT_EQ(t.Story(), "НЖ  \r\n");
}

TEST_F(WriteStoryLineTest, DirectivesAreCutWithTheirOwnWidths) {
  t.p.story.SetText("");
  Reply("Первая ");
  Reply("ПС 1 = 2");  // cut 3: the line, its CR LF and the trailing blank before it
  EXPECT_EQ(t.Story(), "\r\nПервая");
  Say("СОБ 4 x");  // cut 4 in the description form: the line and both line ends
  EXPECT_EQ(t.Story(), "\r\nПерв");
  t.p.story.SetText(FromUtf8("abc\r\n"));
  Say("НС");
  EXPECT_EQ(t.Story(), "abc\r\n");
  Say("К1 слово");
  Say("К2 слово");
  Say("ПС");  // no blank: text
  EXPECT_EQ(t.Story(), "abcПС\r\n");
}

TEST_F(WriteStoryLineTest, LowerCaseDirectiveIsText) {
  t.p.location = 2;
  Say("кар 2 x.jpg");
  EXPECT_EQ(t.Story(), "кар 2 x.jpg\r\n");
  EXPECT_TRUE(t.platform.messages.empty());
}

TEST_F(WriteStoryLineTest, DirectiveOnAnEmptyStoryAreaDoesNotEndTheGame) {
  t.p.story.SetText("");
  Say("ПС 3 = 1");
  EXPECT_EQ(t.Story(), "");
  EXPECT_TRUE(t.platform.messages.empty());
}

TEST_F(WriteStoryLineTest, RandomConditionUsesTheChanceInPercent) {
  for (int i = 0; i < 20; ++i) {
    t.platform.seed = i;
    Say("ВЕР 12 0");
    EXPECT_FALSE(t.p.conditions.Get(12));
    Say("ВЕР 12 100");
    EXPECT_TRUE(t.p.conditions.Get(12));
  }
  EXPECT_FALSE(t.p.conditionsChanged);
  EXPECT_EQ(t.Story(), "");
}

TEST_F(WriteStoryLineTest, RandomConditionDrawsAfterReseeding) {
  int trues = 0;
  for (int i = 0; i < 200; ++i) {
    t.platform.seed = i * 7919 + 0.5;
    Say("ВЕР 3 50");
    trues += t.p.conditions.Get(3);
  }
  EXPECT_GT(trues, 50);
  EXPECT_LT(trues, 150);
}

TEST_F(WriteStoryLineTest, BadDirectiveNumbersEndTheProgramWithTheLine) {
  t.p.location = 7;
  for (const char* line : {"ВЕР 12", "ВЕР x 5", "ГАММА ", "ВЕР 20000 5"}) {
    t.platform.messages.clear();
    EXPECT_EQ(FatalReport(t.platform, [&] { Say(line); }),
              std::string("Ошибка в строке: \r\n") + line + "\r\n(комната №7)");
  }
}

TEST_F(WriteStoryLineTest, ColourSchemeLineAppliesTheScheme) {
  Say("ГАММА 3");
  EXPECT_EQ(t.p.colorScheme, Variant(3));
  EXPECT_EQ(t.p.story.back, (Rgb{0, 0, 0}));
  EXPECT_EQ(t.p.story.fore, (Rgb{224, 224, 224}));
}

TEST_F(WriteStoryLineTest, EveryTextLineClearsTheInputLine) {
  t.p.input.SetText("набранное"_cp);
  Say("текст");
  EXPECT_EQ(t.p.input.text, "");
}

TEST(StoryTail, TrimsAbove16000KeepingFromCharacter10000) {
  TestPlayer t;
  std::string text;
  for (int i = 0; i < 16001; ++i) text += static_cast<char>('a' + i % 26);
  t.p.story.SetText(text);
  StoryTail(t.p);
  EXPECT_EQ(t.p.story.text.size(), 6002u);
  EXPECT_EQ(t.p.story.text, text.substr(9999));
  EXPECT_EQ(t.p.story.caret, 6002u);
  t.p.story.SetText(std::string(16000, 'x'));
  StoryTail(t.p);
  EXPECT_EQ(t.p.story.text.size(), 16000u);
}

}  // namespace
}  // namespace mireval
