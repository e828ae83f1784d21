// What unwinds to the event handler: a game started or loaded while the player waits (a transition,
// an output pause), since what was running for the game before must not go on inside the new one;
// and a handler that ran out of memory.
#include <gtest/gtest.h>

#include <new>
#include <string>

#include "app/browser.h"
#include "app/keys.h"
#include "app/save_load.h"
#include "base/files.h"
#include "base/text.h"
#include "interpreter/main_file.h"
#include "support/test_game.h"

namespace mireval {
namespace {

class ReplacedGameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    t.Game("room1.txt",
           "РН Поляна\nОП\nНа поляне.\n\nТ В ЛЕС\nИдёте в лес.\nИД 2\n\n"
           "Т ДАЛЬШЕ\nДлинная дорога.\nИД 3\n");
    t.Game("room2.txt", "РН Лес\nОП\nВ лесу.\n");
    // A description long enough for an output pause before its last line.
    std::string road = "РН Дорога\nОП\n";
    for (int i = 0; i < 30; ++i)
      road += "Дорога тянется и тянется, конца ей не видно, и так далее.\n";
    road += "Конец дороги.\n";
    t.Game("room3.txt", road);
    t.StartGame();
    EXPECT_EQ(t.p.location, Variant(1));
  }

  TestPlayer t;
};

TEST_F(ReplacedGameTest, NewGameDuringATransitionStaysInTheNewGame) {
  t.platform.Enter("в лес");                       // waits for Enter before room 2
  t.platform.Then([](Player& p) { NewGame(p); });  // the new game waits before room 1
  t.platform.Enter();
  t.platform.Enter("осмотреться");
  t.platform.PlayQueued();
  EXPECT_EQ(t.p.location, Variant(1));
  EXPECT_EQ(t.p.moves, Variant(1));  // the command after the new game's transition was played
  EXPECT_EQ(t.Story().find("В лесу."), std::string::npos) << t.Story();
  EXPECT_NE(t.Story().find("На поляне."), std::string::npos) << t.Story();
}

// A save chosen in the browser during a wait is read and asked about at once: one that cannot be
// loaded, or another game's save declined, leaves the wait and its move as they were.
TEST_F(ReplacedGameTest, ASaveRefusedDuringATransitionKeepsThePendingMove) {
  WriteRaw(t.game() / "broken.sav", "\"Игра\"\r\n"_cp);
  t.platform.inputAnswers.push_back("other");
  const Variant title = t.p.gameTitle;
  t.p.gameTitle = Variant(FromUtf8("Другая"));
  ASSERT_TRUE(SaveGame(t.p));
  t.p.gameTitle = title;

  t.platform.Enter("в лес");  // waits for Enter before room 2
  t.platform.Then([](Player& p) { EXPECT_FALSE(ChooseSavedGame(p, p.gameFolder, "broken.sav")); });
  t.platform.yesNoAnswers.push_back(false);
  t.platform.Then([](Player& p) { EXPECT_FALSE(ChooseSavedGame(p, p.gameFolder, "other.sav")); });
  t.platform.Enter();
  t.platform.PlayQueued();
  EXPECT_EQ(t.p.location, Variant(2));
  EXPECT_EQ(t.p.moves, Variant(1));
  EXPECT_EQ(t.p.gameTitle, title);
  EXPECT_EQ(t.platform.messages.size(), 1u);
  ASSERT_EQ(t.platform.questions.size(), 2u);  // the save's name, then the other game
  EXPECT_NE(t.platform.questions[1].find("другой игре"), std::string::npos);
}

TEST_F(ReplacedGameTest, AFolderWithoutAGameChosenDuringATransitionKeepsThePendingMove) {
  const std::filesystem::path other = t.root.path() / "other";
  std::filesystem::create_directories(other);
  WriteGameFile(other / "main.txt", "Просто текст\n");
  t.platform.Enter("в лес");  // waits for Enter before room 2
  t.platform.Then([&](Player& p) {
    ChangeFolderPath(p, other);
    StartGameFromBrowser(p);
  });
  t.platform.Enter();
  t.platform.PlayQueued();
  EXPECT_EQ(t.p.location, Variant(2));
  EXPECT_EQ(t.p.gameFolder, t.game());
  EXPECT_EQ(t.platform.messages.size(), 1u);
}

TEST_F(ReplacedGameTest, LoadDuringATransitionKeepsTheLoadedGameAndTheNextCommand) {
  t.p.moves = 5;
  t.platform.inputAnswers.push_back("slot");
  ASSERT_TRUE(SaveGame(t.p));
  t.p.moves = 0;

  t.platform.Enter("в лес");
  t.platform.Then([](Player& p) { EXPECT_TRUE(LoadSavedGame(p, p.gameFolder, "slot.sav")); });
  t.platform.Enter("осмотреться");  // a command of the loaded game, not the Enter of the old wait
  t.platform.PlayQueued();
  EXPECT_EQ(t.p.location, Variant(1));
  EXPECT_EQ(t.p.moves, Variant(6));
  EXPECT_FALSE(t.p.transitionWaiting);
}

TEST_F(ReplacedGameTest, NewGameDuringAnOutputPauseDropsTheRestOfTheOldText) {
  t.platform.Enter("дальше");  // room 3's description pauses before its end
  t.platform.Enter();          // the transition into room 3
  t.platform.Then([](Player& p) {
    ASSERT_TRUE(p.pauseWaiting);
    NewGame(p);
  });
  t.platform.Enter();  // the new game's transition
  t.platform.PlayQueued();
  EXPECT_EQ(t.p.location, Variant(1));
  EXPECT_FALSE(t.p.pauseWaiting);
  EXPECT_FALSE(t.p.outputPaused);
  EXPECT_EQ(t.Story().find("Конец дороги."), std::string::npos) << t.Story();
  EXPECT_NE(t.Story().find("На поляне."), std::string::npos) << t.Story();
}

TEST_F(ReplacedGameTest, AHandlerOutOfMemoryIsReportedAndPlayGoesOn) {
  t.platform.Enter("в лес");  // waits for Enter before room 2
  t.platform.Then([](Player&) { throw std::bad_alloc(); });
  t.platform.Enter();
  t.platform.Then([](Player&) { throw std::bad_alloc(); });
  t.platform.Enter("осмотреться");
  t.platform.PlayQueued();
  EXPECT_EQ(t.p.location, Variant(2));
  EXPECT_EQ(t.p.moves, Variant(2));
  const std::string report =
      "Не хватает памяти, чтобы выполнить это действие (может быть, открываемый файл слишком "
      "велик). Действие прервано, игра продолжается.";
  EXPECT_EQ(t.platform.messages, (std::vector<std::string>{report, report}));
}

TEST_F(ReplacedGameTest, AGameChosenDuringAWaitStartsOnlyAfterTheWaitHasUnwound) {
  t.platform.Enter("в лес");  // waits for Enter before room 2
  t.platform.Then([this](Player& p) {
    ChangeFolderPath(p, t.game());
    StartGameFromBrowser(p);
    EXPECT_EQ(p.location, Variant(1));  // nothing of the new game yet
  });
  // The new game's transition is the only wait left: the old one is gone from the stack.
  t.platform.Then([](Player& p) { EXPECT_EQ(p.waitsPending, 1); });
  t.platform.Enter();
  t.platform.Enter("осмотреться");
  t.platform.PlayQueued();
  EXPECT_EQ(t.p.location, Variant(1));
  EXPECT_EQ(t.p.moves, Variant(1));
  EXPECT_EQ(t.p.waitsPending, 0);
  EXPECT_EQ(t.Story().find("В лесу."), std::string::npos) << t.Story();
}

}  // namespace
}  // namespace mireval
