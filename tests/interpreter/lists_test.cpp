#include "interpreter/lists.h"

#include <gtest/gtest.h>

#include "base/cipher.h"
#include "base/lines.h"
#include "base/script_error.h"
#include "base/text.h"
#include "script/addresses.h"
#include "support/test_game.h"

namespace mireval {
namespace {

class ListsTest : public ::testing::Test {
 protected:
  std::string Show(void (*screen)(Player&)) { return t.StoryOf(screen); }
  LocationPlayer t;
};

TEST_F(ListsTest, InventoryAndTasksShowEveryEntryWhoseConditionsHold) {
  t.Game("invent.txt", "5\nмеч\n-5\nщит\n3 -4\nфонарь\n");
  t.Set(5);
  EXPECT_EQ(Show(ShowInventory), "\r\nВы в данный момент несете: меч\r\n");
  t.Set(5, false);
  t.Set(3);
  EXPECT_EQ(Show(ShowInventory), "\r\nВы в данный момент несете: щит\r\nфонарь\r\n");
  t.Game("zadan.txt", "3\nНайти мельника\n");
  EXPECT_EQ(Show(ShowTasks), "\r\nВы имеете следующие задания: Найти мельника\r\n");
  t.Game("zadan.txt", "12\r");  // five bytes or fewer: the author offers no list
  EXPECT_EQ(Show(ShowTasks), "\r\nАвтор игры не предусмотрел возможность просмотра заданий.");
}

TEST_F(ListsTest, OnlyTheFirstApplicableHintIsShownUntilTheyRunOut) {
  t.Game("hints.txt", "1\nПервая.\n---\n2\nВторая.\n---\n3\nТретья.\n");
  t.Set(2);
  t.Set(3);
  EXPECT_EQ(Show(ShowHint), "\r\nПодсказка: Вторая.");
  t.Set(2, false);
  EXPECT_EQ(Show(ShowHint), "\r\nПодсказка: Третья.");  // the last one needs no separator
  t.Set(3, false);  // none left: the message names the forum's address, not the site's
  EXPECT_EQ(Show(ShowHint),
            std::string("\r\nПодсказка: Извините, но подсказки на этом закончились. Над "
                        "дальнейшем продолжением игры Вам предстоит подумать самим! В крайнем "
                        "случае Вы можете также задать вопросы о прохождении игры на форуме "
                        "игры, например, по адресу https://forum.mireval.example/"));
}

TEST_F(ListsTest, ScrambledListsShowTheSameEntries) {
  const std::string plain = "5\nмеч\n-5\nщит\n";
  t.Game("invent.txt", plain);
  const std::string expected = Show(ShowInventory);
  for (CipherKind kind : {CipherKind::Ordinary, CipherKind::Strong}) {
    WriteRaw(t.game() / "invent.txt", Encrypt(SplitLines(FromUtf8(plain)), kind));
    EXPECT_EQ(Show(ShowInventory), expected);
    EXPECT_FALSE(std::filesystem::exists(t.work() / "temps.dat"));
  }
}

TEST_F(ListsTest, AMissingListIsNamedUnderItsHeadingAndPlayGoesOn) {
  EXPECT_EQ(Show(ShowInventory),
            "\r\nВы в данный момент несете: В этой игре нет файла invent.txt.\r\n");
  EXPECT_EQ(Show(ShowTasks),
            "\r\nВы имеете следующие задания: В этой игре нет файла zadan.txt.\r\n");
  EXPECT_EQ(Show(ShowHint), "\r\nПодсказка: В этой игре нет файла hints.txt.\r\n");
}

TEST_F(ListsTest, UnreadableListsAreScriptErrors) {
  // A blank that follows no number, a number out of range or unreadable, a missing entry text.
  for (const char* bad : {"\nмеч\n", " 5\nмеч\n", "5  6\nмеч\n", "5 \nмеч\n", "5x\nмеч\n",
                          "10001\nмеч\n", "1 2 3 4 5 6\n"}) {
    t.Game("invent.txt", bad);
    EXPECT_THROW(ShowInventory(t.p), ScriptError) << bad;
    EXPECT_FALSE(t.p.file.IsOpen());
  }
  WriteRaw(t.game() / "hints.txt", MarkerLine(CipherKind::Ordinary) + "\r\n209\r\n99999\r\n");
  EXPECT_THROW(ShowHint(t.p), ScriptError);
}

}  // namespace
}  // namespace mireval
