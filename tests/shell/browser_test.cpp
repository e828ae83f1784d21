#include "shell/browser.h"

#include <gtest/gtest.h>

#include "engine/files.h"
#include "engine/text.h"
#include "shell/save_load.h"
#include "support/test_game.h"

namespace mireval {
namespace {

namespace fs = std::filesystem;

TEST(FilePattern, MatchesIgnoringCaseWithWildcardsAndAlternatives) {
  EXPECT_TRUE(MatchesPattern("MAIN.TXT", "main.txt"));
  EXPECT_TRUE(MatchesPattern("Main.Txt", "main.txt"));
  EXPECT_FALSE(MatchesPattern("main.txt.bak", "main.txt"));
  EXPECT_TRUE(MatchesPattern("игра.SAV", "*.sav"));
  EXPECT_TRUE(MatchesPattern(".sav", "*.sav"));
  EXPECT_FALSE(MatchesPattern("x.sav.part1", "*.sav"));
  EXPECT_FALSE(MatchesPattern("xsav", "*.sav"));
  EXPECT_TRUE(MatchesPattern("a1b.txt", "a?b.*"));
  EXPECT_FALSE(MatchesPattern("ab.txt", "a?b.*"));
  EXPECT_TRUE(MatchesPattern("x.txt", "*.sav; *.txt"));
  EXPECT_FALSE(MatchesPattern("x.txt", ""));
}

TEST(FilePattern, GameDirHasOneTrailingSeparator) {
  EXPECT_EQ(GameDirOf("/games/mill"), "/games/mill/");
  EXPECT_EQ(GameDirOf("/"), "/");
}

class BrowserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    t.Game("main.txt", "Текстовый квест\nМельница\n2\n");
    t.Game("room0.txt", "РН Общее\n");
    t.Game("room1.txt", "РН Развилка\nОП\nДорога.\n");
    fs::create_directories(t.root.path() / "empty");
    fs::create_directories(t.root.path() / ".hidden");
    t.platform.drives = {"/", FromUtf8(t.root.path().string())};
    // Starting a game waits for Enter once, at the move into location 1.
    t.platform.Enter();
  }
  std::string Dir(const std::string& name) { return FromUtf8((t.root.path() / name).string()); }

  TestPlayer t;
};

TEST_F(BrowserTest, NewGameModeOffersTheStartButtonOnlyOverAMainFile) {
  OpenGameDialog(t.p);
  EXPECT_TRUE(t.p.Picture1.visible);
  EXPECT_EQ(ToUtf8(t.p.Label2.caption), "Открытие новой игры.");
  EXPECT_EQ(t.p.Drive1.items, t.platform.drives);
  EXPECT_EQ(t.p.Dir1.path, FromUtf8(t.work().string()));  // starts in the working folder

  ASSERT_TRUE(ChangeFolder(t.p, Dir("game")));
  EXPECT_EQ(t.p.File1.items, std::vector<std::string>{"main.txt"});
  EXPECT_TRUE(t.p.Command2.visible);
  EXPECT_EQ(t.p.Command2.left, t.p.File1.left + 3);
  EXPECT_EQ(t.p.Command2.width, t.p.File1.width - 7);
  EXPECT_EQ(t.p.Drive1.drive, t.platform.drives[1]);

  ASSERT_TRUE(ChangeFolder(t.p, Dir("empty")));
  EXPECT_TRUE(t.p.File1.items.empty());
  EXPECT_FALSE(t.p.Command2.visible);
}

TEST_F(BrowserTest, FolderListShowsVisibleSubfoldersSorted) {
  fs::create_directories(t.root.path() / "Beta");
  WriteRaw(t.root.path() / "file.txt", "");
  ASSERT_TRUE(ChangeFolder(t.p, Dir("")));
  EXPECT_EQ(t.p.Dir1.items, (std::vector<std::string>{"Beta", "empty", "game", "work"}));
  // Relative names start at the working folder, and letter case does not matter.
  ASSERT_TRUE(ChangeFolder(t.p, "../GAME"));
  EXPECT_EQ(t.p.Dir1.path, Dir("game"));
}

TEST_F(BrowserTest, AFolderThatCannotBeReadKeepsThePreviousOne) {
  OpenGameDialog(t.p);
  ASSERT_TRUE(ChangeFolder(t.p, Dir("game")));
  EXPECT_FALSE(ChangeFolder(t.p, Dir("nowhere")));
  EXPECT_EQ(t.p.Dir1.path, Dir("game"));

  t.p.Dir1.path = Dir("nowhere");
  Dir1_Change(t.p);
  EXPECT_EQ(t.p.Dir1.path, Dir("game"));
  EXPECT_EQ(t.p.File1.items, std::vector<std::string>{"main.txt"});

  PrepareBrowser(t.p);
  t.p.Drive1.drive = "/no/such/drive";
  Drive1_Change(t.p);
  EXPECT_EQ(t.p.Dir1.path, Dir("game"));
  EXPECT_EQ(t.p.Drive1.drive, t.platform.drives[1]);

  t.p.Drive1.drive = "/";
  Drive1_Change(t.p);
  EXPECT_EQ(t.p.Dir1.path, "/");
}

TEST_F(BrowserTest, ClickingTheMainFileAndTheStartButtonStartTheSameGame) {
  for (bool button : {false, true}) {
    t.p.Room = Variant();
    OpenGameDialog(t.p);
    ASSERT_TRUE(ChangeFolder(t.p, Dir("game")));
    if (button) {
      t.platform.Enter();
      Command2_Click(t.p);
    } else {
      File1_Click(t.p, "main.txt");
    }
    EXPECT_EQ(t.p.GameDir, Dir("game") + "/");
    EXPECT_FALSE(t.p.Picture1.visible);
    EXPECT_EQ(t.p.Room, Variant(1));
    EXPECT_EQ(ToUtf8(t.p.GameName.Text()), "Мельница");
    EXPECT_EQ(t.Story(), "Дорога.\r\n");
  }
}

TEST_F(BrowserTest, LoadModeKeepsAStartButtonUntilTheFolderChanges) {
  OpenGameDialog(t.p);
  ASSERT_TRUE(ChangeFolder(t.p, Dir("game")));
  ASSERT_TRUE(t.p.Command2.visible);
  LoadGameDialog(t.p);
  EXPECT_TRUE(t.p.Command2.visible);
  EXPECT_TRUE(t.p.File1.items.empty());
  ASSERT_TRUE(ChangeFolder(t.p, Dir("empty")));
  EXPECT_FALSE(t.p.Command2.visible);
}

TEST_F(BrowserTest, AGameThatCannotStartLeavesTheRunningOneAsItWas) {
  fs::create_directories(t.root.path() / "broken");
  WriteGameFile(t.root.path() / "broken" / "main.txt", "Текстовый квест\nСломанная\n3\nдобро\n");
  t.UseGameDir();
  t.p.GameName = "Идущая"_cp;
  t.p.Room = 1;
  t.p.ColorScheme = 2;
  t.p.HarakterWord[1] = "честь"_cp;
  t.Set(42);

  for (const char* folder : {"broken", "empty"}) {
    t.platform.messages.clear();
    OpenGameDialog(t.p);
    ASSERT_TRUE(ChangeFolder(t.p, Dir(folder)));
    File1_Click(t.p, "main.txt");
    ASSERT_EQ(t.platform.messages.size(), 1u);
    EXPECT_EQ(t.platform.messages[0],
              "Не удалось начать игру: " + ToUtf8(Dir(folder)) + "/main.txt");
    EXPECT_EQ(t.p.GameDir, FromUtf8(t.game().string()) + "/");
    EXPECT_EQ(ToUtf8(t.p.GameName.Text()), "Идущая");
    EXPECT_EQ(ToUtf8(t.p.HarakterWord[1].Text()), "честь");
    EXPECT_EQ(t.p.ColorScheme, Variant(2));
    EXPECT_TRUE(t.p.Uslovie.Get(42));
    EXPECT_TRUE(t.p.Picture1.visible);  // still there to choose again
    EXPECT_FALSE(t.p.file.IsOpen());
  }
}

TEST_F(BrowserTest, CancelLeavesWithoutChoosing) {
  OpenGameDialog(t.p);
  BrowserCancel_Click(t.p);
  EXPECT_FALSE(t.p.Picture1.visible);
  EXPECT_TRUE(t.p.Room.IsEmpty());
}

TEST_F(BrowserTest, ChoosingInAFolderThatCannotBeReadIsReported) {
  ChooseFile(t.p, Dir("nowhere"), "x.sav");
  ChooseFile(t.p, Dir("nowhere"), "MAIN.TXT");
  EXPECT_EQ(
      t.platform.messages,
      (std::vector<std::string>{"Не удалось загрузить игру: " + ToUtf8(Dir("nowhere/x.sav")),
                                "Не удалось начать игру: " + ToUtf8(Dir("nowhere/MAIN.TXT"))}));
}

}  // namespace
}  // namespace mireval
