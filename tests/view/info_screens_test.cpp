#include "view/info_screens.h"

#include <gtest/gtest.h>

#include "base/script_error.h"
#include "base/text.h"
#include "support/test_game.h"

namespace mireval {
namespace {

class InfoScreens : public ::testing::Test {
 protected:
  void SetUp() override {
    t.UseGameDir();
    t.p.story.SetText(FromUtf8("было"));
  }
  TestPlayer t;
};

TEST_F(InfoScreens, IntroductionReplacesTheStoryArea) {
  t.Game("intro.txt", "Раз\nДва\n");
  ShowIntro(t.p);
  EXPECT_EQ(t.Story(), "Начало игры:\r\nРаз\r\nДва\r\n");
}

TEST_F(InfoScreens, MissingIntroductionShowsTheHeadingAlone) {
  ShowIntro(t.p);
  EXPECT_EQ(t.Story(), "Начало игры:\r\n");
}

TEST_F(InfoScreens, GameScreensAppendUnderTheirHeadings) {
  t.Game("rules.txt", "Правило.\n");
  t.Game("AUTHOR.TXT", "");
  t.Game("keywords.txt", "слово\n");
  ShowRules(t.p);
  ShowAuthor(t.p);
  ShowKeywords(t.p);
  EXPECT_EQ(t.Story(),
            "было\r\nПравила игры:\r\nПравило.\r\n\r\nОб авторе игры:\r\n\r\nКлючевые "
            "слова:\r\nслово\r\n");
}

// A side file is optional: its command says which file the game lacks, and play goes on.
TEST_F(InfoScreens, MissingGameScreenSaysWhichFileTheGameLacks) {
  ShowRules(t.p);
  ShowAuthor(t.p);
  ShowKeywords(t.p);
  EXPECT_EQ(t.Story(),
            "было\r\nПравила игры:\r\nВ этой игре нет файла rules.txt.\r\n\r\nОб авторе "
            "игры:\r\nВ этой игре нет файла author.txt.\r\n\r\nКлючевые слова:\r\nВ этой игре "
            "нет файла keywords.txt.\r\n");
}

TEST_F(InfoScreens, ProgramScreensReadTheWorkingFolder) {
  t.Work("ifgames.txt", "О жанре.\n");
  ShowIfGames(t.p);
  ShowEditorIntro(t.p);
  EXPECT_EQ(t.Story(),
            "было\r\nОб Interactive Fiction:\r\nО жанре.\r\n\r\nВступление к редактору:\r\n");
}

TEST_F(InfoScreens, DirectivesInTheFileAreCarriedOutNotShown) {
  t.Game("rules.txt", "Текст.\nГАММА 2\nЕщё.\n");
  ShowRules(t.p);
  EXPECT_EQ(t.p.colorScheme, Variant(2));
  EXPECT_EQ(t.Story().find("ГАММА"), std::string::npos);
}

TEST_F(InfoScreens, LongFilesPage) {
  std::string text;
  for (int i = 0; i < 40; ++i) text += std::string(60, 'x') + "\n";
  t.Game("rules.txt", text);
  t.platform.Enter();
  ShowRules(t.p);
  EXPECT_EQ(t.platform.pumps, 1);
}

}  // namespace
}  // namespace mireval
