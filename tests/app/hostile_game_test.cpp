// A game folder is a stranger's download: what it names is read from inside it only, special files
// never block the player, and folder names that have no Windows-1251 form still open the right
// game.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "app/browser.h"
#include "app/save_load.h"
#include "app/startup.h"
#include "base/files.h"
#include "base/line_reader.h"
#include "base/script_error.h"
#include "base/text.h"
#include "interpreter/command_log.h"
#include "script/game_files.h"
#include "support/test_game.h"
#include "view/info_screens.h"
#include "view/media.h"

namespace mireval {
namespace {

namespace fs = std::filesystem;

class HostileGameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    t.UseGameDir();
    t.p.location = 1;
    fs::create_directories(outside());
    WriteGameFile(outside() / "secret.txt", "тайна\n");
    WriteRaw(outside() / "x.png", "picture");
    WriteRaw(outside() / "x.wav", "sound");
  }
  fs::path outside() const { return t.root.path() / "outside"; }
  bool Refused(const std::string& utf8Name) const {
    return !FindGameFile(t.p, FromUtf8(utf8Name)).has_value();
  }

  TestPlayer t;
};

TEST_F(HostileGameTest, NamesThatClimbOutOrLinkOutAreRefused) {
  fs::create_directories(t.game() / "pics");
  WriteRaw(t.game() / "pics" / "own.png", "picture");
  fs::create_symlink(outside() / "secret.txt", t.game() / "rules.txt");
  fs::create_symlink(outside(), t.game() / "linked");
  fs::create_symlink(t.game() / "pics" / "own.png", t.game() / "alias.png");

  EXPECT_TRUE(Refused("../outside/x.png"));
  EXPECT_TRUE(Refused("..\\outside\\x.png"));
  EXPECT_TRUE(Refused("pics/../../outside/x.png"));
  EXPECT_TRUE(Refused((outside() / "x.png").string()));
  EXPECT_TRUE(Refused("rules.txt"));
  EXPECT_TRUE(Refused("linked\\x.png"));
  EXPECT_TRUE(Refused("LINKED/secret.txt"));
  // Links that stay inside, and the author's spelling, still work.
  EXPECT_EQ(FindGameFile(t.p, "PICS\\Own.png"), t.game() / "pics" / "own.png");
  EXPECT_EQ(FindGameFile(t.p, "alias.png"), t.game() / "alias.png");
  EXPECT_THROW(OpenGameFile(t.p, "rules.txt"), ScriptError);
}

TEST_F(HostileGameTest, PicturesAndSoundsOutsideTheFolderAreRefusedAsTheirLinesSay) {
  ShowPictureLine(t.p, "КАР 2 ../outside/x.png"_cp);
  EXPECT_FALSE(t.p.picturePanel.visible);
  ASSERT_EQ(t.platform.messages.size(), 1u);
  EXPECT_EQ(t.platform.messages[0], "Ошибка в строке КАР 2 ../outside/x.png локации 1");

  std::string sound = "..\\outside\\x.wav";
  StartSound(t.p, sound);
  for (const std::string& call : t.platform.sound.calls)
    EXPECT_EQ(call.find("Render"), std::string::npos) << call;
}

// A save is written inside the game folder only: a link planted under its name, to a file outside
// or to a place outside where no file is yet, is not followed.
TEST_F(HostileGameTest, ASaveIsNeverWrittenThroughALinkLeadingOut) {
  fs::create_symlink(outside() / "secret.txt", t.game() / "slot.sav");
  fs::create_symlink(outside() / "new.txt", t.game() / "fresh.sav");
  const std::string secret = ReadRaw(outside() / "secret.txt");
  t.platform.inputAnswers = {"slot", "fresh"};
  EXPECT_FALSE(SaveGame(t.p));
  EXPECT_FALSE(SaveGame(t.p));
  EXPECT_EQ(ReadRaw(outside() / "secret.txt"), secret);
  EXPECT_FALSE(fs::exists(outside() / "new.txt"));
  ASSERT_EQ(t.platform.messages.size(), 2u);
  EXPECT_EQ(t.platform.messages[0].rfind("Не удалось сохранить игру: ", 0), 0u);
  EXPECT_TRUE(Refused("fresh.sav"));
}

TEST_F(HostileGameTest, AnInformationFileLinkedOutsideIsMissing) {
  fs::create_symlink(outside() / "secret.txt", t.game() / "rules.txt");
  ShowRules(t.p);
  EXPECT_EQ(t.Story().find("тайна"), std::string::npos);
  EXPECT_NE(t.Story().find("В этой игре нет файла rules.txt."), std::string::npos);
}

TEST_F(HostileGameTest, PipesAndDevicesAreUnreadableAndNeverBlock) {
  ASSERT_EQ(::mkfifo((t.game() / "room1.txt").c_str(), 0644), 0);
  ASSERT_EQ(::mkfifo((t.game() / "slot.sav").c_str(), 0644), 0);
  ASSERT_EQ(::mkfifo((t.game() / "pic.png").c_str(), 0644), 0);
  EXPECT_FALSE(ReadWholeFile(t.game() / "room1.txt"));
  EXPECT_TRUE(LineReader(t.game() / "room1.txt").error());  // the seal tool's reader
  EXPECT_THROW(OpenGameFile(t.p, "room1.txt"), ScriptError);
  EXPECT_FALSE(LoadSavedGame(t.p, t.game(), "slot.sav"));
  ShowPictureLine(t.p, "КАР 2 pic.png"_cp);
  EXPECT_FALSE(t.p.picturePanel.visible);
  EXPECT_EQ(ReadWholeFile("/dev/zero"), std::nullopt);
}

// Two folders whose names become the same "??" in Windows-1251, and one whose name holds a "\".
TEST(GameFolderNames, AFolderIsOpenedByItsRealNameNotItsText) {
  TestPlayer t;
  StartPlayer(t.p);
  const fs::path games = t.root.path() / "games";
  const std::vector<std::string> names = {"游戏", "谜题", "quest\\part2", "quest/part2"};
  for (std::size_t i = 0; i < names.size(); ++i) {
    const fs::path folder = games / names[i];
    const std::string n = std::to_string(i);
    fs::create_directories(folder);
    WriteGameFile(folder / "main.txt", "Текстовый квест\nИгра " + n + "\n1\n");
    WriteGameFile(folder / "room0.txt", "РН Общее\n");
    WriteGameFile(folder / "room1.txt", "РН Комната\nОП\nКомната номер " + n + ".\n");
  }
  for (std::size_t i : {1u, 0u, 2u, 3u}) {
    const fs::path folder = games / names[i];
    t.platform.Enter();  // the transition into the first location
    StartGameInFolder(t.p, folder);
    EXPECT_EQ(t.p.gameFolder, folder);
    EXPECT_EQ(ToUtf8(t.p.gameTitle.Text()), "Игра " + std::to_string(i));
    EXPECT_NE(t.Story().find("Комната номер " + std::to_string(i) + "."), std::string::npos);
    EXPECT_TRUE(t.platform.messages.empty()) << t.platform.messages.front();
  }
}

TEST(SaveNames, ANameWithoutAWindows1251FormIsRefused) {
  TestPlayer t;
  t.UseGameDir();
  t.platform.inputAnswers = {"游戏"};
  EXPECT_FALSE(SaveGame(t.p));
  ASSERT_EQ(t.platform.messages.size(), 1u);
  EXPECT_NE(t.platform.messages[0].find("Windows-1251"), std::string::npos);
  EXPECT_TRUE(fs::is_empty(t.game()));
}

TEST(CommandLog, ALinkUnderTheLogsNameIsRefusedAndTheFieldsAreQuoted) {
  TestPlayer t;
  const fs::path target = t.root.path() / "elsewhere.txt";
  fs::create_symlink(target, t.work() / "logfile.txt");
  AppendCommandLog(t.p, "взять", "Комната");
  AppendCommandLog(t.p, "взять", "Комната");
  EXPECT_FALSE(fs::exists(target));
  ASSERT_EQ(t.platform.messages.size(), 1u);  // said once

  fs::remove(t.work() / "logfile.txt");
  AppendCommandLog(t.p, "say \"hi\"", "\";rm -rf ~;\"");
  EXPECT_EQ(ReadRaw(t.work() / "logfile.txt"), "\"say \"\"hi\"\"\",\"\"\";rm -rf ~;\"\"\"\r\n");
}

TEST(Startup, AnOldScratchCopyIsRemovedAtStart) {
  TestPlayer t;
  WriteRaw(t.work() / "temps.dat", "РН Лес"_cp);
  StartPlayer(t.p);
  EXPECT_FALSE(fs::exists(t.work() / "temps.dat"));
}

}  // namespace
}  // namespace mireval
