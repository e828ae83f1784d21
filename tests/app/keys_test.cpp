#include "app/keys.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "support/test_game.h"

namespace mireval {
namespace {

void Type(Player& p, const std::string& utf8) {
  p.input.SetText(FromUtf8(utf8));
  OnInputKey(p, kEnter);
}

TEST(Keys, EnterDuringAPauseOnlyEndsThePause) {
  TestPlayer t;
  t.p.pauseWaiting = true;
  Type(t.p, "цветовая гамма 3");
  EXPECT_FALSE(t.p.pauseWaiting);
  EXPECT_EQ(ToUtf8(t.p.input.text), "цветовая гамма 3");
  EXPECT_TRUE(t.p.colorScheme.IsEmpty());
}

TEST(Keys, EnterReleasesAWaitingTransition) {
  TestPlayer t;
  t.p.transitionWaiting = true;
  Type(t.p, "что-то");
  EXPECT_FALSE(t.p.transitionWaiting);
  EXPECT_EQ(t.p.input.text, "");
  t.p.transitionWaiting = true;
  t.p.answerPanelFocus.SetText("x");
  OnAnswerPanelKey(t.p, 'a');
  EXPECT_TRUE(t.p.transitionWaiting);
  OnAnswerPanelKey(t.p, kEnter);
  EXPECT_FALSE(t.p.transitionWaiting);
}

TEST(Keys, OtherKeysChangeNothing) {
  TestPlayer t;
  t.p.pauseWaiting = true;
  OnInputKey(t.p, 'a');
  EXPECT_TRUE(t.p.pauseWaiting);
}

TEST(Keys, ColourSchemeCommand) {
  TestPlayer t;
  Type(t.p, "ЦВЕТОВАЯ ГАММА 3");
  EXPECT_EQ(t.p.colorScheme, Variant(3));
  EXPECT_EQ(t.p.story.back, (Rgb{0, 0, 0}));
  EXPECT_EQ(t.p.input.text, "");
  Type(t.p, "цветовая гамма:12");
  EXPECT_EQ(t.p.colorScheme, Variant(12));
  Type(t.p, "Цветовая гамма");
  EXPECT_EQ(t.p.colorScheme, Variant(12));  // no number: unchanged
  EXPECT_EQ(t.p.input.text, "");
}

TEST(Keys, HelpOnlyWithoutAGame) {
  TestPlayer t;
  t.Work("ifgames.txt", "Справка.\n");
  Type(t.p, "справка");
  EXPECT_EQ(t.Story(), "\r\nОб Interactive Fiction:\r\nСправка.\r\n");
  t.p.gameTitle = "Игра"_cp;
  t.p.story.SetText("");
  Type(t.p, "справка");
  EXPECT_EQ(t.Story(), "");
}

TEST(Keys, LeadingBlankIsNoTopLevelCommand) {
  TestPlayer t;
  Type(t.p, " выход");
  EXPECT_EQ(ToUtf8(t.p.input.text), " выход");  // no game: the line stays
}

TEST(Keys, ExitAsksOnlyWhileAGameIsLoaded) {
  TestPlayer t;
  EXPECT_EQ(ExpectEnd([&] { Type(t.p, "выход"); }), kExitNormal);
  EXPECT_TRUE(t.platform.questions.empty());
  t.p.gameTitle = "Игра"_cp;
  EXPECT_EQ(ExpectEnd([&] { Type(t.p, "Закончить игру"); }), kExitNormal);
  EXPECT_EQ(t.platform.questions,
            std::vector<std::string>{"Желаете ли сохранить свою игру перед уходом?"});
}

// Each command opens its own address: the forum is not the site.
TEST(Keys, WebAddressesGoToTheDesktop) {
  struct Row {
    const char* typed;
    const char* url;
  };
  for (const Row& row : {
           Row{"форум игры", "https://forum.mireval.example/"},
           Row{"Перейти на форум", "https://forum.mireval.example/"},
           Row{"сайт игры", "https://mireval.example/"},
           Row{"ПЕРЕЙТИ НА САЙТ", "https://mireval.example/"},
       }) {
    TestPlayer t;
    Type(t.p, row.typed);
    EXPECT_EQ(t.platform.urls, std::vector<std::string>{row.url}) << row.typed;
    EXPECT_EQ(ToUtf8(t.p.input.text), row.typed);  // kept
  }
}

}  // namespace
}  // namespace mireval
