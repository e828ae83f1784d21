#include "interpreter/locations.h"

#include <gtest/gtest.h>

#include "base/cipher.h"
#include "base/lines.h"
#include "base/text.h"
#include "support/test_game.h"

namespace mireval {
namespace {

class ShowRoomTest : public ::testing::Test {
 protected:
  std::string Describe() { return t.StoryOf(ShowRoom); }
  LocationPlayer t;
};

TEST_F(ShowRoomTest, TheEligibleBlockWithMostConditionsWins) {
  t.Game("room1.txt", "РН Поляна\nОП\nпервый\n\nОП 5\nвторой\n\nОП 5 -6\nтретий\n");
  t.Set(5);
  EXPECT_EQ(Describe(), "третий\r\n");
  t.Set(6);
  EXPECT_EQ(Describe(), "второй\r\n\r\n");
  t.Set(5, false);
  EXPECT_EQ(Describe(), "первый\r\n\r\n");
}

TEST_F(ShowRoomTest, LaterBlockWinsAmongEqualsAndThirdCharacterIsNotRead) {
  t.Game("room1.txt", "РН x\nОП 3\nAA\n\nОП 4\nBB\n\nОП5\nCC\n\nОП\nDD\n");
  t.Set(3);
  t.Set(4);
  EXPECT_EQ(Describe(), "BB\r\n\r\n");
  t.Set(3, false);
  t.Set(4, false);
  EXPECT_EQ(Describe(), "DD\r\n");  // "ОП5" is unconditional too, and DD comes later
}

TEST_F(ShowRoomTest, TheNameKeepsTheBlankAfterTheHeader) {
  t.Game("room1.txt", "РН Лесная поляна\nОП\nтекст\n");
  Describe();
  EXPECT_EQ(ToUtf8(t.p.locationName.Text()), " Лесная поляна");
  EXPECT_EQ(ToUtf8(t.p.statusLabels[0].caption), " Лесная поляна");
}

TEST_F(ShowRoomTest, TextRunsToTheFirstShortLineWhateverItsPrefix) {
  t.Game("room1.txt", "РН x\nОП\nТ не команда\nДИАЛ тоже текст\nx\nпосле\n");
  EXPECT_EQ(Describe(), "Т не команда\r\nДИАЛ тоже текст\r\nx\r\n");
}

TEST_F(ShowRoomTest, HeaderErrorLeavesTheNameAndDescribesNothing) {
  t.p.locationName = "старое"_cp;
  t.Game("room1.txt", "Поляна\nОП\nтекст\n");
  EXPECT_EQ(Describe(), "");
  ASSERT_EQ(t.platform.messages.size(), 1u);
  EXPECT_EQ(t.platform.messages[0],
            "Ошибка игры - файл описания локации должен начинаться с символов РН и последующего "
            "названия локации.");
  EXPECT_EQ(ToUtf8(t.p.locationName.Text()), "старое");
}

TEST_F(ShowRoomTest, NoEligibleBlockIsReportedAndPlayGoesOn) {
  t.Game("room1.txt", "РН x\nОП 7\nтекст\n");
  EXPECT_EQ(Describe(), "");
  ASSERT_EQ(t.platform.messages.size(), 1u);
  EXPECT_EQ(t.platform.messages[0],
            "Ошибка в описании локации - ни одно описание не подходит под ситуацию (нет "
            "безусловного описания).");
}

TEST_F(ShowRoomTest, UnreadableConditionEndsTheProgramQuotingTheLine) {
  for (const char* line : {"ОП 5x", "ОП 10001", "ОП 99999999999999999999"}) {
    t.platform.messages.clear();
    t.Game("room1.txt", std::string("РН x\n") + line + "\nтекст\n");
    EXPECT_EQ(FatalReport(t.platform, [&] { Describe(); }),
              std::string("Ошибка в строке: \r\n") + line);
  }
}

TEST_F(ShowRoomTest, MissingLocationFileEndsTheProgram) {
  t.p.location = 4;
  EXPECT_EQ(FatalReport(t.platform, [&] { Describe(); }).rfind("Ошибка в строке: \r\n", 0), 0u);
}

TEST_F(ShowRoomTest, EncryptedFilesAreDescribedLikePlainOnesAndTheCopyIsRemoved) {
  std::vector<std::string> lines = SplitLines(FromUtf8("РН Лес\nОП\nA\n\nОП 5\nB–C\n"));
  for (CipherKind kind : {CipherKind::Ordinary, CipherKind::Strong}) {
    WriteRaw(t.game() / "room1.txt", Encrypt(lines, kind));
    t.Set(5);
    EXPECT_EQ(Describe(), "B-C\r\n");
    EXPECT_FALSE(std::filesystem::exists(t.work() / "temps.dat"));
  }
}

// An author's editor may save a location in UTF-8, with or without a byte order mark.
TEST_F(ShowRoomTest, AUtf8LocationIsDescribedLikeAWindows1251One) {
  const std::string utf8 = "РН Лес\r\nОП\r\nЁлки – «высокие».\r\n";
  for (const std::string& bytes : {utf8, "\xEF\xBB\xBF" + utf8}) {
    WriteRaw(t.game() / "room1.txt", bytes);
    EXPECT_EQ(Describe(), "Ёлки - «высокие».\r\n");
    EXPECT_EQ(ToUtf8(t.p.locationName.Text()), " Лес");
    EXPECT_TRUE(t.platform.messages.empty());
  }
}

TEST_F(ShowRoomTest, DamagedEncryptedFileIsReportedNotDecodedAsGarbage) {
  WriteRaw(t.game() / "room1.txt",
           MarkerLine(CipherKind::Ordinary) + "\r\n209\r\n5000\r\n\"0\"\r\n");
  EXPECT_EQ(FatalReport(t.platform, [&] { Describe(); }).rfind("Ошибка в строке: \r\n", 0), 0u);
}

}  // namespace
}  // namespace mireval
