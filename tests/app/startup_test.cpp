#include "app/startup.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/keys.h"
#include "app/save_load.h"
#include "base/text.h"
#include "support/test_game.h"
#include "view/media.h"

namespace mireval {
namespace {

namespace fs = std::filesystem;

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    t.Work("obloz.txt", "Обложка\nКАР 2 x.jpg\n");
    t.Game("main.txt", "Текстовый квест\nМельница\n1\n");
    t.Game("room0.txt", "РН Общее\n");
    t.Game("room1.txt", "РН Развилка\nОП\nДорога.\n");
  }
  void Type(const std::string& utf8) {
    t.p.input.SetText(FromUtf8(utf8));
    OnInputKey(t.p, kEnter);
  }
  std::string GameFolderText() const { return FromUtf8(t.game().string()) + "/"; }

  TestPlayer t;
};

TEST_F(StartupTest, WithoutAutostartTheCoverShowsAndTheTimerRuns) {
  t.p.answers[3].visible = true;
  t.p.transitionWaiting = true;
  StartPlayer(t.p);
  EXPECT_EQ(t.Story(), "Обложка\r\nКАР 2 x.jpg\r\n");  // directives are not carried out here
  EXPECT_FALSE(t.p.picturePanel.visible);
  EXPECT_FALSE(t.p.answers[3].visible);
  EXPECT_FALSE(t.p.browserPanel.visible);
  EXPECT_FALSE(t.p.transitionWaiting);
  EXPECT_TRUE(t.p.location.IsEmpty());
  EXPECT_TRUE(t.platform.messages.empty());

  EXPECT_EQ(t.platform.timerInterval, 2000);
  t.UseGameDir();
  WriteRaw(t.game() / "theme.ogg", "music");
  PlayMusicLine(t.p, "МУЗ theme.ogg"_cp);
  t.platform.music.duration = t.platform.music.position = 3;
  t.platform.FireTimer();
  EXPECT_EQ(t.platform.music.position, 0);  // ended music started again

  OnStoryKey(t.p, 'a');
  EXPECT_EQ(t.p.focus, Focus::Input);
  t.p.answers[0].visible = true;
  OnStoryKey(t.p, 'b');
  EXPECT_EQ(t.p.focus, Focus::AnswerPanel);
}

TEST_F(StartupTest, AutostartStartsAGameWithoutSavesAndOnlyPointsTheBrowserAtOneWithSaves) {
  t.Work("start.txt", "../game\nignored\n");
  t.platform.Enter();
  StartPlayer(t.p);
  EXPECT_EQ(t.p.gameFolderText, GameFolderText());
  EXPECT_EQ(t.p.location, Variant(1));
  EXPECT_EQ(t.Story(), "Дорога.\r\n");
  EXPECT_FALSE(t.p.browserPanel.visible);

  TestPlayer other;
  other.Work("START.TXT", "../Game\n");  // written where letter case does not matter
  other.Game("one.sav", "");
  StartPlayer(other.p);
  EXPECT_TRUE(other.p.location.IsEmpty());
  EXPECT_TRUE(other.p.gameFolderText.empty());
  EXPECT_EQ(other.p.folders.path + "/", FromUtf8(other.game().string()) + "/");
  other.p.input.SetText("загрузить игру"_cp);
  OnInputKey(other.p, kEnter);
  EXPECT_EQ(other.p.files.items, std::vector<std::string>{"one.sav"});
  EXPECT_EQ(ToUtf8(other.p.browserCaption.caption), "Загрузка сохраненной игры.");
  EXPECT_EQ(other.Story(), "\r\nИГРА УСПЕШНО ЗАГРУЖЕНА \r\n");  // before any choice
}

TEST_F(StartupTest, AnEmptyFirstLineMeansNoAutostartAndABadOneEndsTheProgram) {
  t.Work("start.txt", "\n../game\n");
  StartPlayer(t.p);
  EXPECT_TRUE(t.platform.messages.empty());
  EXPECT_TRUE(t.p.location.IsEmpty());

  for (const char* main : {"", "Текстовый квест\nСломанная\n1\nдобро\n"}) {
    t.platform.messages.clear();
    t.Work("start.txt", *main ? "../game\n" : "nowhere\n");
    if (*main) t.Game("main.txt", main);
    EXPECT_EQ(FatalReport(t.platform, [&] { StartPlayer(t.p); }),
              "Ошибка при автозапуске игры. Проверьте файл start.txt (или удалите его).");
  }
}

// A game named on the command line takes start.txt's place: a start file naming a folder that is
// gone would otherwise end the program before the named game starts.
TEST_F(StartupTest, ANamedGameIsPlayedWhateverStartTxtSays) {
  t.Work("start.txt", "nowhere\n");
  t.p.startFileIgnored = true;
  StartPlayer(t.p);
  EXPECT_TRUE(t.p.location.IsEmpty());
  t.platform.Enter();
  StartGameInFolder(t.p, t.game());
  EXPECT_EQ(t.Story(), "Дорога.\r\n");
  t.platform.Enter();
  Type("новая игра");  // opens the browser; start.txt is still not read
  EXPECT_TRUE(t.platform.messages.empty());
  EXPECT_TRUE(t.p.browserPanel.visible);
}

// What a shell or a file manager hands the player: a folder, the game's main file, a save file,
// or something that is no game at all.
TEST_F(StartupTest, TheCommandLineOpensAFolderAMainFileOrASave) {
  t.p.startFileIgnored = true;
  StartPlayer(t.p);
  t.platform.Enter();
  RunEventHandler(t.p, [&] { OpenFromCommandLine(t.p, t.game() / "main.txt"); });
  EXPECT_EQ(t.Story(), "Дорога.\r\n");

  t.p.location = 1;
  t.p.moves = 9;
  t.p.conditions.Set(77, true);
  t.platform.inputAnswers.push_back("slot");
  ASSERT_TRUE(SaveGame(t.p));
  t.p.conditions.Set(77, false);
  t.platform.Enter();
  // A new game: the condition stays unset.
  RunEventHandler(t.p, [&] { OpenFromCommandLine(t.p, t.game()); });
  EXPECT_FALSE(t.p.conditions.Get(77));
  t.platform.Enter();
  RunEventHandler(t.p, [&] { OpenFromCommandLine(t.p, t.game() / "slot.sav"); });
  EXPECT_TRUE(t.p.conditions.Get(77));
  EXPECT_EQ(t.p.moves, Variant(9));
  EXPECT_TRUE(t.platform.messages.empty());

  // A folder without a game is reported, and the game goes on.
  const fs::path empty = t.work() / "empty";
  fs::create_directory(empty);
  RunEventHandler(t.p, [&] { OpenFromCommandLine(t.p, empty); });
  EXPECT_EQ(t.platform.messages.size(), 1u);
  EXPECT_TRUE(t.p.conditions.Get(77));
}

TEST_F(StartupTest, NewGameCommandRestartsTheAutostartGameThenOpensTheBrowser) {
  t.Work("start.txt", "../game\n");
  t.platform.Enter();
  StartPlayer(t.p);
  t.Set(9);
  t.platform.Enter();
  Type("новая игра");
  EXPECT_FALSE(t.p.conditions.Get(9));
  EXPECT_EQ(t.Story(), "Дорога.\r\n");
  EXPECT_TRUE(t.p.browserPanel.visible);
  EXPECT_EQ(ToUtf8(t.p.browserCaption.caption), "Открытие новой игры.");
  EXPECT_TRUE(t.p.startButton.visible);
  EXPECT_EQ(t.p.input.text, "");
}

TEST_F(StartupTest, PointingTheBrowserAtTheAutostartFolderLeavesTheRunningGamesFolder) {
  fs::create_directories(t.root.path() / "other");
  WriteRaw(t.root.path() / "other" / "x.sav", "");
  t.Work("start.txt", "../other\n");
  t.UseGameDir();
  t.p.gameTitle = "Мельница"_cp;
  Type("загрузить игру");
  EXPECT_EQ(t.p.files.items, std::vector<std::string>{"x.sav"});
  Type("новая игра");
  EXPECT_EQ(t.p.gameFolderText, GameFolderText());
}

}  // namespace
}  // namespace mireval
