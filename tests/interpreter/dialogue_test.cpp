#include "interpreter/dialogue.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "base/text.h"
#include "model/form.h"
#include "support/test_game.h"

namespace mireval {
namespace {

class DialogueTest : public ::testing::Test {
 protected:
  void SetUp() override { t.p.locationName = " Сторожка"_cp; }
  void Room(const std::string& body) { t.Game("room1.txt", "РН Сторожка\nОП\nТекст.\n\n" + body); }
  void Talk(const std::string& utf8) {
    t.p.commandLine = FromUtf8(" " + utf8 + " ");
    OfferDialogue(t.p);
  }
  std::vector<std::string> Captions() {
    std::vector<std::string> out;
    for (int i = 1; i <= 12; ++i)
      if (t.p.answers[i].visible) out.push_back(ToUtf8(t.p.answers[i].caption));
    return out;
  }
  LocationPlayer t;
};

const char* kWatchman =
    "ДИАЛ ВАХТЕР\n"
    "Л 5\n"
    "ДИ 1\n"
    "Л -7\n"
    "Д 7\n"
    "Здравствуйте!\n"
    "Вахтер кивает.\n"
    "\n"
    "ДИ 2\n"
    "Прощайте.\n"
    "СС\n"
    "\n"
    "КДИАЛ\n";

TEST_F(DialogueTest, OptionsWhoseConditionsHoldBecomeButtons) {
  Room(kWatchman);
  t.Set(5);
  Talk("диал вахтер");
  EXPECT_EQ(Captions(), (std::vector<std::string>{"Здравствуйте!", "Прощайте."}));
  EXPECT_TRUE(t.p.answers[0].visible);
  EXPECT_EQ(ToUtf8(t.p.answers[0].caption), "<Закончить диалог>");
  EXPECT_EQ(t.p.story.height, 296);
  EXPECT_EQ(t.p.answerOptions[1], 1u);
  EXPECT_EQ(t.p.answerOptions[2], 2u);
  // Slots of 250 / (2 + 2) from 346: answers in slots 0 and 1, the close button in slot 2.
  EXPECT_FLOAT_EQ(t.p.answers[1].top, 346);
  EXPECT_FLOAT_EQ(t.p.answers[2].top, 408.5);
  EXPECT_FLOAT_EQ(t.p.answers[0].top, 471);
  EXPECT_FLOAT_EQ(t.p.answers[0].height, 62.5);
  EXPECT_EQ(t.p.focus, Focus::AnswerPanel);
}

// The window keeps positions in single precision: for these counts the slots are no whole
// fractions, and a double kept as it is would differ from what the window shows.
TEST(AnswerSlots, PositionsAreRoundedToSinglePrecision) {
  struct Row {
    int answers;
    float height, secondTop, closeTop;
  };
  for (const Row& row : {
           Row{5, 35.7142868f, 381.714294f, 524.571411f},
           Row{7, 27.7777786f, 373.777771f, 540.444458f},
           Row{10, 20.833334f, 366.833344f, 554.333313f},
           Row{11, 19.2307701f, 365.230774f, 557.538452f},
       }) {
    Form f;
    PlaceAnswers(f, row.answers);
    EXPECT_EQ(f.answers[1].top, 346) << row.answers;
    EXPECT_EQ(f.answers[2].top, static_cast<double>(row.secondTop)) << row.answers;
    EXPECT_EQ(f.answers[0].top, static_cast<double>(row.closeTop)) << row.answers;
    EXPECT_EQ(f.answers[0].height, static_cast<double>(row.height)) << row.answers;
    EXPECT_EQ(f.answers[static_cast<std::size_t>(row.answers)].height,
              static_cast<double>(row.height))
        << row.answers;
  }
}

TEST_F(DialogueTest, ChoosingAnAnswerPlaysItsBlockAndRebuildsTheAnswers) {
  Room(kWatchman);
  t.Set(5);
  Talk("диал с вахтером");  // «ВАХТЕР» is a whole word: "вахтером" does not match
  EXPECT_TRUE(Captions().empty());
  EXPECT_FALSE(t.p.answers[0].visible);
  t.p.story.SetText("");
  Talk("диал вахтер");
  OnAnswerClicked(t.p, 1);
  EXPECT_EQ(t.Story(), "\r\n>  диал вахтер \r\n\r\nЗдравствуйте! \r\nВахтер кивает. \r\n");
  EXPECT_TRUE(t.p.conditions.Get(7));
  EXPECT_EQ(t.p.moves, Variant(1));
  EXPECT_EQ(Captions(), (std::vector<std::string>{"Прощайте."}));
  EXPECT_EQ(ReadRaw(t.work() / "logfile.txt"), FromUtf8("\" Сторожка\",\"Здравствуйте!\"\r\n"));
}

TEST_F(DialogueTest, ExhaustedPanelKeepsOnlyTheEnlargedCloseButton) {
  Room("ДИАЛ\nДИ 1\nЛ -7\nД 7\nЕдинственный\n\nКДИАЛ\n");
  Talk("диал");
  OnAnswerClicked(t.p, 1);
  EXPECT_TRUE(Captions().empty());
  EXPECT_TRUE(t.p.answers[0].visible);
  EXPECT_EQ(t.p.answers[0].height, 125);
  EXPECT_EQ(t.p.answers[0].top, 346);
  OnAnswerClicked(t.p, 0);
  EXPECT_FALSE(t.p.answers[0].visible);
  EXPECT_EQ(t.p.story.height, 395);
  EXPECT_EQ(t.p.focus, Focus::Input);
}

TEST_F(DialogueTest, FailingOptionsKeepTheOrdinalsOfTheRest) {
  Room("ДИАЛ\nДИ 1\nЛ 9\nПервый\n\nДИ 2\nВторой\n\nКДИАЛ\n");
  t.Game("room0.txt", "РН общие\nДИАЛ ОБЩИЙ\nДИ 1\nЗвать\n\nКДИАЛ\n");
  Talk("диал");
  EXPECT_EQ(Captions(), (std::vector<std::string>{"Второй"}));
  EXPECT_EQ(t.p.answerOptions[1], 2u);
  Talk("диал общий");  // both blocks match: only the later one counts, ordinals run on
  EXPECT_EQ(Captions(), (std::vector<std::string>{"Звать"}));
  EXPECT_EQ(t.p.answerOptions[1], 3u);
}

TEST_F(DialogueTest, FailingBlockConditionsSkipTheBlock) {
  Room("ДИАЛ\nЛ 4\nДИ 1\nСкрытый\n\nКДИАЛ\nДИАЛ\nДИ 2\nОткрытый\n\nКДИАЛ\n");
  Talk("диал");
  EXPECT_EQ(Captions(), (std::vector<std::string>{"Открытый"}));
  EXPECT_EQ(t.p.answerOptions[1], 2u);
}

TEST_F(DialogueTest, NoMatchingDialogueRefusesUnlessAutomatic) {
  Room(kWatchman);
  Talk("говорить кот");
  EXPECT_NE(t.Story().find(">  говорить кот "), std::string::npos);
  t.p.story.SetText("");
  RunAutomaticDialogue(t.p);
  EXPECT_EQ(t.Story(), "");
}

TEST_F(DialogueTest, AutomaticBlockSwitchesTheModeOnEvenWhenItsConditionsFail) {
  Room("ДИАЛ АВТО\nЛ 3\nДИ 1\nОтвет\n\nКДИАЛ\n");
  RunAutomaticDialogue(t.p);
  EXPECT_TRUE(Captions().empty());
  EXPECT_TRUE(t.p.autoDialogue);
  t.Set(3);
  RunAutomaticDialogue(t.p);
  EXPECT_EQ(Captions(), (std::vector<std::string>{"Ответ"}));
  t.p.story.SetText("");
  OnAnswerClicked(t.p, 1);
  EXPECT_EQ(t.Story(), "\r\n\r\nОтвет \r\n");  // no echo line for the automatic command
}

TEST_F(DialogueTest, LowerCaseAutoLineSwitchesTheModeButIsNoHeader) {
  Room("диал авто\nДИ 1\nОтвет\n\nКДИАЛ\n");
  RunAutomaticDialogue(t.p);
  EXPECT_TRUE(t.p.autoDialogue);
  EXPECT_TRUE(Captions().empty());
}

TEST_F(DialogueTest, ThirteenthAnswerOrAMissingEndIsADialogueError) {
  std::string block = "ДИАЛ\n";
  for (int i = 0; i < 13; ++i) block += "ДИ 1\nОтвет " + std::to_string(i) + "\n\n";
  Room(block + "КДИАЛ\n");
  EXPECT_EQ(FatalReport(t.platform, [&] { Talk("диал"); }).rfind("Ошибка в строке: \r\n", 0), 0u);
  t.platform.messages.clear();
  Room("ДИАЛ\nДИ 1\nОтвет\n\n");
  EXPECT_EQ(FatalReport(t.platform, [&] { Talk("диал"); }).rfind("Ошибка в строке: \r\n", 0), 0u);
}

TEST_F(DialogueTest, BlocksCutShortByTheEndOfTheFileNeverLoop) {
  // These once looped forever; should they again, the alarm ends the test program.
  ::alarm(30);
  // A header that does not match, as the last line of its file, ends the scan.
  Room("ДИАЛ ВАХТЕР\n");
  Talk("диал сторож");
  EXPECT_TRUE(t.p.answers[0].visible == false && Captions().empty());
  EXPECT_NE(t.Story().find(">  диал сторож \r\n"), std::string::npos);  // the refusal
  // A chosen block whose file ends with a failing option condition cannot be read to its end.
  Room("ДИАЛ\nДИ 1\nЛ 5\n");
  EXPECT_EQ(FatalReport(t.platform, [&] { Talk("диал"); }),
            "Ошибка в строке: \r\nЛ 5\r\n(комната №1)");
  ::alarm(0);
}

TEST_F(DialogueTest, ClicksDuringAPauseAreIgnored) {
  Room(kWatchman);
  t.Set(5);
  Talk("диал вахтер");
  t.p.outputPaused = true;
  OnAnswerClicked(t.p, 1);
  EXPECT_FALSE(t.p.conditions.Get(7));
  EXPECT_TRUE(t.p.moves.IsEmpty());
}

TEST_F(DialogueTest, OrdinalsPastSixteenBitsStillNameTheirOption) {
  // Another character's block of 70,000 options stands before the watchman's: counted in 16 bits
  // the ordinal of the watchman's first option would wrap round to one of those.
  std::string other = "ДИАЛ СТОРОЖ\n";
  for (int k = 0; k < 70000; ++k) other += "ДИ 1\nСТ\nЧужой ответ.\n\n";
  Room(other + "КДИАЛ\n" + kWatchman);
  t.Set(5);
  Talk("диал вахтер");
  ASSERT_EQ(Captions(), (std::vector<std::string>{"Здравствуйте!", "Прощайте."}));
  EXPECT_EQ(t.p.answerOptions[1], 70001u);
  OnAnswerClicked(t.p, 1);
  EXPECT_TRUE(t.p.conditions.Get(7));
  EXPECT_NE(t.Story().find("Вахтер кивает."), std::string::npos);
  EXPECT_EQ(t.Story().find("Чужой ответ."), std::string::npos);
  EXPECT_EQ(Captions(), (std::vector<std::string>{"Прощайте."}));
}

TEST_F(DialogueTest, ConditionListReading) {
  Room("ДИАЛ\nДИ 1\nЛ  -  8  9\nДа\n\nКДИАЛ\n");
  t.Set(9);
  Talk("диал");
  EXPECT_EQ(Captions(), (std::vector<std::string>{"Да"}));
  t.Set(8);
  Talk("диал");
  EXPECT_TRUE(Captions().empty());
}

}  // namespace
}  // namespace mireval
