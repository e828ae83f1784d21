#include "app/browser.h"

#include <gtest/gtest.h>

#include "app/keys.h"
#include "app/save_load.h"
#include "app/startup.h"
#include "base/files.h"
#include "base/text.h"
#include "support/temp_files.h"
#include "support/test_game.h"

namespace mireval {
namespace {

namespace fs = std::filesystem;

TEST(FilePattern, MatchesIgnoringCaseWithWildcardsAndAlternatives) {
  EXPECT_TRUE(MatchesPattern("Main.TXT", "main.txt"));
  EXPECT_FALSE(MatchesPattern("main.txt.bak", "main.txt"));
  EXPECT_TRUE(MatchesPattern("игра.SAV", "*.sav"));
  EXPECT_TRUE(MatchesPattern(".sav", "*.sav"));
  EXPECT_FALSE(MatchesPattern("x.sav.part1", "*.sav"));  // a save still being written
  EXPECT_TRUE(MatchesPattern("a1b.txt", "a?b.*"));
  EXPECT_FALSE(MatchesPattern("ab.txt", "a?b.*"));
  EXPECT_TRUE(MatchesPattern("x.txt", "*.sav; *.txt"));
  EXPECT_EQ(GameDirOf("/games/mill"), "/games/mill/");
  EXPECT_EQ(GameDirOf("/"), "/");
}

TEST(FolderRows, ChainFromTheRootThenSortedVisibleSubfolders) {
  TempDir dir;
  fs::create_directories(dir.path() / "b");
  fs::create_directories(dir.path() / "A");
  fs::create_directories(dir.path() / ".git");
  WriteRaw(dir.path() / "file.txt", "");
  std::vector<FolderRow> rows = FolderRows(PathText(dir.path()) + "/");
  std::size_t depth = 0;
  for (const auto& part : dir.path()) (void)part, ++depth;
  ASSERT_EQ(rows.size(), depth + 2);
  EXPECT_EQ(rows[0].path, "/");
  EXPECT_EQ(rows[depth - 1].path, PathText(dir.path()));
  EXPECT_TRUE(rows[depth - 1].current);
  EXPECT_EQ(rows[depth].name, "A");
  EXPECT_EQ(rows[depth + 1].name, "b");
  EXPECT_EQ(rows[depth + 1].depth, static_cast<int>(depth));
  EXPECT_TRUE(FolderRows("").empty());
  // A folder that vanished still shows the way to it, with nothing below.
  EXPECT_EQ(FolderRows(PathText(dir.path() / "gone")).size(), depth + 1);
}

class BrowserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    t.Game("main.txt", "Текстовый квест\nМельница\n2\n");
    t.Game("room0.txt", "РН Общее\n");
    t.Game("room1.txt", "РН Развилка\nОП\nДорога.\n");
    fs::create_directories(t.root.path() / "empty");
    fs::create_directories(t.root.path() / ".hidden");
    t.platform.drives = {"/", Dir("")};
    OpenGameDialog(t.p);
  }
  std::string Dir(const std::string& name) {
    return FromUtf8((t.root.path() / name).lexically_normal().string());
  }

  TestPlayer t;
};

TEST_F(BrowserTest, NewGameModeOffersTheStartButtonOnlyOverAMainFile) {
  EXPECT_TRUE(t.p.browserPanel.visible);
  EXPECT_EQ(ToUtf8(t.p.browserCaption.caption), "Открытие новой игры.");
  EXPECT_EQ(t.p.folders.path, Dir("work"));   // the working folder to begin with
  ASSERT_TRUE(ChangeFolder(t.p, "../GAME"));  // relative to it, letter case ignored
  EXPECT_EQ(t.p.folders.path, Dir("game"));
  EXPECT_EQ(t.p.files.items, std::vector<std::string>{"main.txt"});
  EXPECT_TRUE(t.p.startButton.visible);
  EXPECT_EQ(t.p.startButton.left, t.p.files.left + 3);
  EXPECT_EQ(t.p.startButton.width, t.p.files.width - 7);
  EXPECT_EQ(t.p.drives.drive, t.platform.drives[1]);

  // In load mode a start button stays until the folder changes.
  LoadGameDialog(t.p);
  EXPECT_TRUE(t.p.files.items.empty());
  EXPECT_TRUE(t.p.startButton.visible);
  ASSERT_TRUE(ChangeFolder(t.p, Dir("")));
  EXPECT_FALSE(t.p.startButton.visible);
  EXPECT_EQ(t.p.folders.items, (std::vector<std::string>{"empty", "game", "work"}));
}

TEST_F(BrowserTest, APlaceThatCannotBeReadKeepsThePreviousFolder) {
  ASSERT_TRUE(ChangeFolder(t.p, Dir("game")));
  EXPECT_FALSE(ChangeFolder(t.p, Dir("nowhere")));
  t.p.folders.path = Dir("nowhere");
  OnFolderChanged(t.p);
  t.p.drives.drive = "/no/such/drive";
  OnDriveChanged(t.p);
  EXPECT_EQ(t.p.folders.path, Dir("game"));
  EXPECT_EQ(t.p.files.items, std::vector<std::string>{"main.txt"});
  EXPECT_EQ(t.p.drives.drive, t.platform.drives[1]);

  t.p.drives.drive = "/";
  OnDriveChanged(t.p);
  EXPECT_EQ(t.p.folders.path, "/");
}

TEST_F(BrowserTest, ClickingTheMainFileAndTheStartButtonStartTheSameGame) {
  for (bool button : {false, true}) {
    t.p.location = Variant();
    OpenGameDialog(t.p);
    ASSERT_TRUE(ChangeFolder(t.p, Dir("game")));
    t.platform.Enter();  // the move into location 1 waits for Enter
    if (button)
      OnStartClicked(t.p);
    else
      OnFileChosen(t.p, "MAIN.TXT");
    EXPECT_EQ(t.p.gameFolderText, Dir("game") + "/");
    EXPECT_FALSE(t.p.browserPanel.visible);
    EXPECT_EQ(t.p.location, Variant(1));
    EXPECT_EQ(t.Story(), "Дорога.\r\n");
  }
}

TEST_F(BrowserTest, AGameThatCannotStartLeavesTheRunningOneAsItWas) {
  fs::create_directories(t.root.path() / "broken");
  WriteGameFile(t.root.path() / "broken" / "main.txt", "Текстовый квест\nСломанная\n3\nдобро\n");
  t.UseGameDir();
  t.p.gameTitle = "Идущая"_cp;
  t.p.colorScheme = 2;
  t.p.characterWords[1] = "честь"_cp;
  t.Set(42);

  for (const char* folder : {"broken", "empty", "nowhere"}) {
    t.platform.messages.clear();
    ChooseFile(t.p, Dir(folder), "main.txt");
    EXPECT_EQ(
        t.platform.messages,
        std::vector<std::string>{"Не удалось начать игру: " + ToUtf8(Dir(folder)) + "/main.txt"});
    EXPECT_EQ(t.p.gameFolderText, FromUtf8(t.game().string()) + "/");
    EXPECT_EQ(ToUtf8(t.p.gameTitle.Text()), "Идущая");
    EXPECT_EQ(ToUtf8(t.p.characterWords[1].Text()), "честь");
    EXPECT_EQ(t.p.colorScheme, Variant(2));
    EXPECT_TRUE(t.p.conditions.Get(42));
    EXPECT_TRUE(t.p.browserPanel.visible);  // still there to choose again
    EXPECT_FALSE(t.p.file.IsOpen());
  }
  OnBrowserCancelled(t.p);
  EXPECT_FALSE(t.p.browserPanel.visible);
}

// The running game plays on after each way a new one can fail to start: the game folder, title,
// colours, conditions and vocabulary stay its own.
TEST_F(BrowserTest, ARunningGamePlaysOnAfterAFolderThatHoldsNoGame) {
  t.platform.Enter();
  StartGameInFolder(t.p, t.game());
  ASSERT_EQ(ToUtf8(t.p.gameTitle.Text()), "Мельница");
  t.Set(42);
  const fs::path other = t.root.path() / "other";
  fs::create_directories(other);
  WriteGameFile(other / "room0.txt", "РН Общее\n");
  WriteGameFile(other / "room1.txt", "РН Чужая\nОП\nПлохо.\n");

  const std::vector<std::pair<std::string, std::string>> mains = {
      {"Просто текст\nЧужая\n5\n", "main.txt не является файлом текстового квеста."},
      {"Текстовый квест\nЧужая\n5\nдобро\nзло\n", "Не удалось начать игру"},
      {"", "Не удалось начать игру"}};  // the folder vanishes before the start
  for (const auto& [main, message] : mains) {
    if (main.empty()) {
      ASSERT_TRUE(ChangeFolderPath(t.p, other));
      fs::remove_all(other);
      OnStartClicked(t.p);
    } else {
      WriteGameFile(other / "main.txt", main);
      StartGameInFolder(t.p, other);
    }
    ASSERT_EQ(t.platform.messages.size(), 1u);
    EXPECT_NE(t.platform.messages[0].find(message), std::string::npos) << t.platform.messages[0];
    t.platform.messages.clear();
    EXPECT_EQ(t.p.gameFolder, t.game());
    EXPECT_EQ(ToUtf8(t.p.gameTitle.Text()), "Мельница");
    EXPECT_EQ(t.p.colorScheme, Variant(2));
    EXPECT_EQ(ToUtf8(t.p.characterWords[1].Text()), "добро");
    EXPECT_TRUE(t.p.conditions.Get(42));

    OnBrowserCancelled(t.p);
    t.p.input.SetText(FromUtf8("осмотреться"));
    OnInputKey(t.p, kEnter);
    EXPECT_NE(t.Story().find("Дорога."), std::string::npos) << t.Story();
    EXPECT_EQ(t.Story().find("Плохо."), std::string::npos) << t.Story();
  }
}

}  // namespace
}  // namespace mireval
