#include "sealtool/seal_form.h"

#include <gtest/gtest.h>

#include "engine/cipher.h"
#include "engine/lines.h"
#include "engine/text.h"
#include "sealtool/recording_port.h"
#include "support/test_game.h"

namespace fs = std::filesystem;

namespace mireval {
namespace {

class SealFormTest : public ::testing::Test {
 protected:
  void SetUp() override { Form_Load(f, dir.path()); }
  std::string FirstLine(const std::string& name) {
    return ToUtf8(SplitLines(ReadRaw(dir.path() / name)).at(0));
  }
  TempDir dir;
  SealForm f;
  RecordingPort port;
};

TEST_F(SealFormTest, FileClickEncryptsInTheModeOfTheMomentAndBeepsAfterTheMessage) {
  WriteGameFile(dir.path() / "room1.txt", "РН x\n");
  WriteGameFile(dir.path() / "room2.txt", "РН y\n");
  File1_Refresh(f);
  File1_Click(f, port, "room1.txt");
  EXPECT_EQ(port.Take(), (std::vector<std::string>{"box Локация успешно зашифрована!", "beep"}));
  EXPECT_EQ(FirstLine("room1.txt"), "\"ЗАШИФРОВАНО\"");

  File1_Click(f, port, "room1.txt");
  EXPECT_EQ(port.Take(), (std::vector<std::string>{
                             "box Данный файл уже зашифрован с помощью этой программы!", "beep"}));

  f.Check1 = true;
  File1_Click(f, port, "room2.txt");
  EXPECT_EQ(FirstLine("room2.txt"), "\"СИЛЬНО ЗАШИФРОВАНО\"");
  File1_Click(f, port, "room2.txt");
  EXPECT_EQ(port.Take().at(2), "box Данный файл уже зашифрован с помощью этой программы!");

  // A file gone since the listing is reported; the window stays.
  File1_Click(f, port, "room9.txt");
  std::vector<std::string> log = port.Take();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].rfind("box Не удалось прочитать файл:\r\n", 0), 0u) << log[0];
  EXPECT_EQ(log[1], "beep");
}

TEST_F(SealFormTest, FolderButtonsProcessTheListSayOkAndEnd) {
  WriteGameFile(dir.path() / "room1.txt", "РН x\n");
  WriteRaw(dir.path() / "room2.txt", Encrypt({"strong"}, CipherKind::Strong));
  WriteGameFile(dir.path() / "main.txt", "Текстовый квест\n");
  File1_Refresh(f);
  Command2_Click(f, port);
  EXPECT_EQ(port.Take(), (std::vector<std::string>{"box Ok", "end 0"}));
  EXPECT_EQ(FirstLine("room1.txt"), "\"ЗАШИФРОВАНО\"");
  EXPECT_EQ(FirstLine("room2.txt"), "\"СИЛЬНО ЗАШИФРОВАНО\"");
  EXPECT_EQ(FirstLine("main.txt"), "Текстовый квест");

  Command1_Click(f, port);
  EXPECT_EQ(port.Take(), (std::vector<std::string>{"box Ok", "end 0"}));
  EXPECT_EQ(ReadRaw(dir.path() / "room1.txt"), FromUtf8("РН x\r\n"));
  EXPECT_EQ(FirstLine("room2.txt"), "\"СИЛЬНО ЗАШИФРОВАНО\"");
}

TEST_F(SealFormTest, FolderFailuresAreEachReportedBeforeOk) {
  WriteGameFile(dir.path() / "room1.txt", "\"ЗАШИФРОВАНО\"\n12x\n\"0\"\n");
  WriteRaw(dir.path() / "room2.txt", Encrypt({"ok"}, CipherKind::Ordinary));
  File1_Refresh(f);
  Command1_Click(f, port);
  std::string path = (dir.path() / "room1.txt").string();
  EXPECT_EQ(port.Take(), (std::vector<std::string>{"box Файл повреждён и не расшифрован:\r\n" +
                                                       path + "\r\nФайл оставлен без изменений.",
                                                   "box Ok", "end 1"}));
  EXPECT_EQ(ReadRaw(dir.path() / "room2.txt"), "ok\r\n");
}

TEST_F(SealFormTest, EveryUserClickOnTheCheckBoxAsks) {
  // Yes turns strong mode on; the click raised by the program's own change is swallowed.
  port.answers = {true};
  Check1_UserClick(f, port);
  EXPECT_EQ(port.Take(), std::vector<std::string>{kStrongQuestionLog});
  EXPECT_TRUE(f.Check1);
  EXPECT_FALSE(f.IgnoreNextCheckClick);

  // Turning it off asks too; No keeps the box as the answer says: unchecked.
  port.answers = {false};
  Check1_UserClick(f, port);
  EXPECT_EQ(port.Take(), std::vector<std::string>{kStrongQuestionLog});
  EXPECT_FALSE(f.Check1);
  EXPECT_FALSE(f.IgnoreNextCheckClick);

  // So the next click that turns it on is asked about, never slipped through.
  port.answers = {false};
  Check1_UserClick(f, port);
  EXPECT_EQ(port.Take(), std::vector<std::string>{kStrongQuestionLog});
  EXPECT_FALSE(f.Check1);

  // Yes while turning it off keeps strong mode.
  f.Check1 = true;
  port.answers = {true};
  Check1_UserClick(f, port);
  EXPECT_TRUE(f.Check1);
  EXPECT_FALSE(f.IgnoreNextCheckClick);
  EXPECT_EQ(port.Take().size(), 1u);
}

TEST_F(SealFormTest, ProgramChangesOfTheCheckBoxAreNotQuestioned) {
  SetCheck1(f, port, true);
  SetCheck1(f, port, true);
  EXPECT_TRUE(f.Check1);
  SetCheck1(f, port, false);
  EXPECT_FALSE(f.Check1);
  EXPECT_FALSE(f.IgnoreNextCheckClick);
  EXPECT_TRUE(port.Take().empty());
  // A pending flag swallows exactly one click notification.
  f.IgnoreNextCheckClick = true;
  Check1_UserClick(f, port);
  EXPECT_TRUE(f.Check1);
  EXPECT_FALSE(f.IgnoreNextCheckClick);
  EXPECT_TRUE(port.Take().empty());
}

TEST_F(SealFormTest, TheFileListFollowsTheFolder) {
  WriteRaw(dir.path() / "a" / "Room1.TXT", "x");
  WriteRaw(dir.path() / "a" / "b" / "hints.txt", "x");
  WriteRaw(dir.path() / "a" / "notes.txt", "x");
  EXPECT_EQ(SubFolderNames(dir.path()), std::vector<std::string>{"a"});
  Dir1_Change(f, dir.path() / "a" / "b" / ".." / "");
  EXPECT_EQ(f.folder, dir.path() / "a");
  EXPECT_EQ(f.folder.parent_path(), dir.path());
  EXPECT_EQ(f.files, std::vector<std::string>{"Room1.TXT"});
  Dir1_Change(f, dir.path() / "a" / "b");
  EXPECT_EQ(f.files, std::vector<std::string>{"hints.txt"});
  Drive1_Change(f, "/");
  EXPECT_EQ(f.folder, fs::path("/"));
  EXPECT_EQ(SealDrives().front(), fs::path("/"));
}

}  // namespace
}  // namespace mireval
