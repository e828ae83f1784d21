#include "sealtool/seal_form.h"

#include <gtest/gtest.h>

#include "base/lines.h"
#include "base/text.h"
#include "sealtool/recording_port.h"
#include "support/test_game.h"

namespace fs = std::filesystem;

namespace mireval::seal {
namespace {

using Log = std::vector<std::string>;

class SealFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteGameFile(dir.path() / "room1.txt", "РН x\n");
    WriteRaw(dir.path() / "room2.txt", Encrypt({"strong"}, CipherKind::Strong));
    WriteGameFile(dir.path() / "main.txt", "Текстовый квест\n");
    StartSealTool(f, dir.path());
  }
  std::string FirstLine(const std::string& name) {
    return ToUtf8(SplitLines(ReadRaw(dir.path() / name)).at(0));
  }
  Log Outcome() const {
    Log out;
    for (const std::string& line : f.outcome) out.push_back(ToUtf8(line));
    return out;
  }
  TempDir dir;
  SealForm f;
  RecordingPort port;
};

TEST_F(SealFormTest, FileClickEncryptsInTheModeOfTheMomentAndBeepsAfterTheMessage) {
  f.strongChecked = true;
  OnFileChosen(f, port, "room1.txt");
  EXPECT_EQ(port.Take(), (Log{"box Локация успешно зашифрована!", "beep"}));
  EXPECT_EQ(FirstLine("room1.txt"), "\"СИЛЬНО ЗАШИФРОВАНО\"");
  OnFileChosen(f, port, "room2.txt");
  EXPECT_EQ(port.Take(), (Log{"box Данный файл уже зашифрован с помощью этой программы!", "beep"}));

  // The player would never read it scrambled: refused, and nothing changes.
  const std::string mainText = ReadRaw(dir.path() / "main.txt");
  OnFileChosen(f, port, "main.txt");
  EXPECT_EQ(port.Take(), (Log{"box " + ToUtf8(NotScrambledByThePlayerText()), "beep"}));
  EXPECT_EQ(ReadRaw(dir.path() / "main.txt"), mainText);
  WriteRaw(dir.path() / "Room.txt", "x");
  RefreshFileList(f);
  OnFileChosen(f, port, "Room.txt");  // listed by the window's pattern, yet no location file
  EXPECT_EQ(port.Take(), (Log{"box " + ToUtf8(NotScrambledByThePlayerText()), "beep"}));
  EXPECT_EQ(ReadRaw(dir.path() / "Room.txt"), "x");

  // A protected file is left as it is, and the message says why.
  WriteRaw(dir.path() / "room3.txt", "x");
  fs::permissions(dir.path() / "room3.txt", fs::perms(0444));
  OnFileChosen(f, port, "room3.txt");
  EXPECT_EQ(port.Take(),
            (Log{"box Не удалось записать файл:\r\n" + (dir.path() / "room3.txt").string() +
                     "\r\nНет прав на запись: файл защищён от записи.\r\n"
                     "Файл оставлен без изменений.",
                 "beep"}));
  EXPECT_EQ(ReadRaw(dir.path() / "room3.txt"), "x");

  OnFileChosen(f, port, "room9.txt");  // gone since the listing: reported, the window stays
  Log log = port.Take();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].rfind("box Не удалось прочитать файл:\r\n", 0), 0u) << log[0];
}

TEST_F(SealFormTest, FolderButtonsReportEachFailureThenSayOkAndEnd) {
  EXPECT_EQ(f.files, (Log{"room1.txt", "room2.txt"}));
  OnEncryptFolderClicked(f, port);
  EXPECT_EQ(port.Take(), (Log{"box Ok", "end 0"}));
  EXPECT_EQ(FirstLine("room1.txt"), "\"ЗАШИФРОВАНО\"");
  EXPECT_EQ(FirstLine("main.txt"), "Текстовый квест");

  WriteGameFile(dir.path() / "room3.txt", "\"ЗАШИФРОВАНО\"\n12x\n\"0\"\n");
  RefreshFileList(f);
  OnDecryptFolderClicked(f, port);
  EXPECT_EQ(port.Take(),
            (Log{"box Файл повреждён и не расшифрован:\r\n" + (dir.path() / "room3.txt").string() +
                     "\r\nФайл оставлен без изменений.",
                 "box Ok", "end 1"}));
  EXPECT_EQ(ReadRaw(dir.path() / "room1.txt"), FromUtf8("РН x\r\n"));
  EXPECT_EQ(FirstLine("room2.txt"), "\"СИЛЬНО ЗАШИФРОВАНО\"");

  // The window lists what each run did, not only the message boxes.
  EXPECT_EQ(Outcome(),
            (Log{"Зашифрован: room1.txt", "Пропущен, уже зашифрован: room2.txt",
                 "Итог: изменено файлов 1, пропущено 1, с ошибками 0.", "Расшифрован: room1.txt",
                 "Пропущен, не зашифрован обычным шифрованием: room2.txt",
                 "Ошибка: room3.txt — Файл повреждён и не расшифрован:",
                 "Итог: изменено файлов 1, пропущено 1, с ошибками 1."}));
}

// A UTF-8 file whose character the scrambled form cannot hold: the message names the file, the
// line and the character's code (a Windows-1251 message cannot show the character itself).
TEST_F(SealFormTest, AUtf8FileWithACharacterWindows1251LacksIsNamedAndKept) {
  const std::string utf8 = "РН x\nОП\nЦена: 5 ₽\n";
  WriteRaw(dir.path() / "room3.txt", utf8);
  WriteRaw(dir.path() / "room4.txt", "\xEF\xBB\xBFРН x\n\xEF\xBB\xBFОП\n");
  RefreshFileList(f);
  const std::string box =
      "box Файл в UTF-8 не зашифрован: в строке 3 знак U+20BD, которого нет "
      "в кодировке Windows-1251:\r\n" +
      (dir.path() / "room3.txt").string() +
      "\r\nЗамените этот знак и зашифруйте файл снова.\r\n"
      "Файл оставлен без изменений.";
  OnFileChosen(f, port, "room3.txt");
  EXPECT_EQ(port.Take(), (Log{box, "beep"}));
  EXPECT_EQ(ReadRaw(dir.path() / "room3.txt"), utf8);

  OnEncryptFolderClicked(f, port);
  Log log = port.Take();
  ASSERT_EQ(log.size(), 4u);
  EXPECT_EQ(log[0], box);
  EXPECT_EQ(log[1].substr(0, log[1].find("\r\n")),
            "box Файл в UTF-8 не зашифрован: в строке 2 знак U+FEFF, которого нет в кодировке "
            "Windows-1251:");
  EXPECT_EQ(log[3], "end 1");
  EXPECT_EQ(Outcome().back(), "Итог: изменено файлов 1, пропущено 1, с ошибками 2.");
  EXPECT_EQ(Outcome().at(Outcome().size() - 3),
            "Ошибка: room3.txt — Файл в UTF-8 не зашифрован: в строке 3 знак U+20BD, которого "
            "нет в кодировке Windows-1251:");
  EXPECT_EQ(ReadRaw(dir.path() / "room3.txt"), utf8);
}

TEST_F(SealFormTest, EveryUserClickOnTheCheckBoxAsks) {
  // Yes turns strong mode on; the click raised by the program's own change is swallowed.
  port.answers = {true};
  ClickStrongCheck(f, port);
  EXPECT_EQ(port.Take(), Log{kStrongQuestionLog});
  EXPECT_TRUE(f.strongChecked);
  EXPECT_FALSE(f.ignoreNextStrongClick);

  // Turning it off asks too, and No leaves it off with nothing pending...
  port.answers = {false};
  ClickStrongCheck(f, port);
  EXPECT_FALSE(f.strongChecked);
  // ...so the next click that turns it on is asked about, never slipped through.
  port.answers = {false};
  ClickStrongCheck(f, port);
  EXPECT_EQ(port.Take(), (Log{kStrongQuestionLog, kStrongQuestionLog}));
  EXPECT_FALSE(f.strongChecked);

  // A program change raises no question; a pending flag swallows exactly one notification.
  SetStrongCheck(f, port, true);
  EXPECT_TRUE(f.strongChecked);
  f.ignoreNextStrongClick = true;
  ClickStrongCheck(f, port);
  EXPECT_FALSE(f.strongChecked);
  EXPECT_FALSE(f.ignoreNextStrongClick);
  EXPECT_TRUE(port.Take().empty());
}

TEST_F(SealFormTest, TheFileListFollowsTheFolder) {
  WriteRaw(dir.path() / "a" / "Room1.TXT", "x");
  WriteRaw(dir.path() / "a" / "b" / "hints.txt", "x");
  EXPECT_EQ(SubFolderNames(dir.path()), Log{"a"});
  OnFolderChanged(f, dir.path() / "a" / "b" / ".." / "");
  EXPECT_EQ(f.folder.parent_path(), dir.path());
  EXPECT_EQ(f.files, Log{"Room1.TXT"});
  OnDriveChanged(f, "/");
  EXPECT_EQ(f.folder, fs::path("/"));
}

}  // namespace
}  // namespace mireval::seal
