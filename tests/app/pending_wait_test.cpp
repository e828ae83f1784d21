// While the player waits for Enter (a transition, an output pause), clicks and keys handled inside
// the wait may release it but never play: nothing of the game runs nested inside a wait.
#include <gtest/gtest.h>

#include <string>

#include "app/keys.h"
#include "base/text.h"
#include "interpreter/dialogue.h"
#include "support/test_game.h"
#include "view/word_columns.h"

namespace mireval {
namespace {

class PendingWaitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    t.Game("room1.txt",
           "РН Сторожка\nОП\nТесная сторожка.\nК1 взять\n\n"
           "Т В ЛЕС\nИдёте в лес.\nИД 2\n\n"
           "ДИАЛ ВАХТЕР\nДИ 1\nЛ -7\nД 7\nСС\nЗдравствуйте!\nИД 2\n\nКДИАЛ\n");
    t.Game("room2.txt", "РН Лес\nОП\nВ лесу.\n");
    t.Work("editor.txt", "Как написать игру.\n");
    t.StartGame();
    ASSERT_EQ(t.p.location, Variant(1));
  }

  void Click(int answer) {
    t.platform.Then([answer](Player& p) { OnAnswerClicked(p, answer); });
  }

  TestPlayer t;
};

TEST_F(PendingWaitTest, ADoubleClickOnAnAnswerThatMovesPlaysItOnce) {
  t.platform.Enter("диал вахтер");
  Click(1);  // the answer waits for Enter before location 2
  Click(1);  // the second click of a double click lands inside that wait
  t.platform.Enter();
  t.platform.PlayQueued();
  EXPECT_EQ(t.p.location, Variant(2));
  EXPECT_EQ(t.p.character[1], Variant(1));
  EXPECT_EQ(t.p.moves, Variant(2));  // the talk command and one answer
  EXPECT_EQ(t.p.waitsPending, 0);
}

TEST_F(PendingWaitTest, AClickQueuedBehindAnAnswerPlaysNothingBeforeIt) {
  t.platform.Enter("диал вахтер");
  t.platform.PlayQueued();
  t.platform.Behind([](Player& p) { OnAnswerClicked(p, 1); });
  Click(1);
  t.platform.Enter();
  t.platform.PlayQueued();
  EXPECT_EQ(t.p.location, Variant(2));
  EXPECT_EQ(t.p.character[1], Variant(1));
  EXPECT_EQ(t.p.moves, Variant(2));
}

TEST_F(PendingWaitTest, ClicksAndScreensInsideAWaitDoNothing) {
  t.platform.Enter("в лес");
  t.platform.Then([](Player& p) {
    ASSERT_TRUE(WaitPending(p));
    OnWordClicked(p, 0, 0);
    EXPECT_EQ(p.input.text, "");
  });
  // A screen of text would write inside the wait; its Enter only releases the wait instead.
  t.platform.Enter("редактор игры");
  t.platform.PlayQueued();
  EXPECT_EQ(t.p.location, Variant(2));
  EXPECT_EQ(t.Story().find("Вступление к редактору"), std::string::npos) << t.Story();
}

TEST_F(PendingWaitTest, ASecondEnterInTheSamePassOfTheWaitPlaysNoCommand) {
  t.platform.Enter("в лес");
  t.platform.Then([](Player& p) {
    // A window may deliver two Enters before the wait looks at its flag again.
    OnInputKey(p, kEnter);
    p.input.SetText(FromUtf8("в лес"));
    OnInputKey(p, kEnter);
  });
  t.platform.PlayQueued();
  EXPECT_EQ(t.p.location, Variant(2));
  EXPECT_EQ(t.p.moves, Variant(1));
  EXPECT_FALSE(t.p.transitionWaiting);
}

}  // namespace
}  // namespace mireval
