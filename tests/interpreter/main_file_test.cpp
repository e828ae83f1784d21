#include "interpreter/main_file.h"

#include <gtest/gtest.h>

#include "base/script_error.h"
#include "base/text.h"
#include "support/test_game.h"

namespace mireval {
namespace {

class NewGameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    t.UseGameDir();
    t.Game("intro.txt", "Вступление.\n");
    t.Game("room0.txt", "РН общие\n");
    t.Game("room1.txt", "РН Начало\nОП\nПервая локация.\n");
  }
  // Starts the game; the transition waits for one Enter, which the script gives.
  void Start() {
    t.platform.Then([this](Player&) { seenBeforeEnter = t.Story(); });
    t.platform.Enter();
    NewGame(t.p);
  }
  TestPlayer t;
  std::string seenBeforeEnter;
};

TEST_F(NewGameTest, IntroductionThenPromptThenLocationOne) {
  t.Game("main.txt", "Текстовый квест\nИгра\n3\n");
  Start();
  EXPECT_EQ(seenBeforeEnter,
            "Начало игры:\r\nВступление.\r\n\r\n>> Нажмите Enter для перехода в новую локацию...");
  EXPECT_EQ(t.Story(), "Первая локация.\r\n");
  EXPECT_EQ(t.p.location, Variant(1));
  EXPECT_EQ(ToUtf8(t.p.statusLabels[4].caption), "Игра");
  EXPECT_EQ(ToUtf8(t.p.statusLabels[1].caption), "Ходы: 0, очки: 1.");
  EXPECT_EQ(ToUtf8(t.p.statusLabels[2].caption), "Характер: добро 0, зло 0 (добрый).");
  EXPECT_EQ(t.p.schemeBack, (Rgb{0, 0, 0}));
  EXPECT_FALSE(t.p.transitionWaiting);
}

TEST_F(NewGameTest, VocabularyLinesReplaceTheDefaults) {
  t.Game("main.txt",
         "ТЕКСТОВЫЙ КВЕСТ\nИгра\n1\nсвет\nтьма\nясный\nсияющий\nтусклый\nчёрный\nлишнее\n");
  Start();
  EXPECT_EQ(ToUtf8(t.p.statusLabels[2].caption), "Характер: свет 0, тьма 0 (ясный).");
}

TEST_F(NewGameTest, ResetsConditionsButNotConditionMinusOne) {
  t.Game("main.txt", "Текстовый квест\nИгра\n1\n");
  t.Set(-1);
  t.Set(77);
  Start();
  EXPECT_TRUE(t.p.conditions.Get(-1));
  EXPECT_FALSE(t.p.conditions.Get(77));
}

TEST_F(NewGameTest, WrongFirstLineIsReportedAndNothingStarts) {
  for (const char* first : {"Текстовый квест ", "Квест"}) {
    t.platform.messages.clear();
    t.Game("main.txt", std::string(first) + "\nИгра\n1\n");
    NewGame(t.p);
    ASSERT_EQ(t.platform.messages.size(), 1u);
    EXPECT_EQ(t.platform.messages[0],
              "Ошибка описания главного файла: main.txt не является файлом текстового квеста.");
    EXPECT_TRUE(t.p.location.IsEmpty());
    EXPECT_TRUE(t.p.gameTitle.IsEmpty());
  }
}

TEST_F(NewGameTest, MissingOrShortMainFileIsTheCallersError) {
  EXPECT_THROW(NewGame(t.p), ScriptError);
  t.Game("main.txt", "Текстовый квест\nИгра\n1\nсвет\nтьма\n");
  EXPECT_THROW(NewGame(t.p), ScriptError);
}

}  // namespace
}  // namespace mireval
