#include "engine/synonyms.h"

#include <gtest/gtest.h>

#include "engine/cipher.h"
#include "engine/lines.h"
#include "engine/text.h"
#include "support/test_game.h"

namespace mireval {
namespace {

class SynonymsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    t.UseGameDir();
    t.Game("room0.txt", "РН Общие\n");
  }
  // The table as "main=synonym" pairs.
  std::vector<std::string> Pairs(int room = 1) {
    RoomSinonims(t.p, room);
    std::vector<std::string> out;
    for (int k = 1; k + 1 <= t.p.SinonimCount; k += 2)
      out.push_back(ToUtf8(t.p.Sinonim[k]) + "=" + ToUtf8(t.p.Sinonim[k + 1]));
    return out;
  }
  using V = std::vector<std::string>;
  TestPlayer t;
};

TEST_F(SynonymsTest, EachSynonymMakesAPairWithItsMainWord) {
  t.Game("room1.txt", "РН x\nВЗЯТЬ = ПОДНЯТЬ, СХВАТИТЬ\nОСМОТРЕТЬ = ИЗУЧИТЬ\nА = Б,В\n");
  EXPECT_EQ(Pairs(), (V{"ВЗЯТЬ=ПОДНЯТЬ", "ВЗЯТЬ=СХВАТИТЬ", "ОСМОТРЕТЬ=ИЗУЧИТЬ", "А=Б,В"}));
  EXPECT_EQ(t.p.SinonimCount, 8);
}

TEST_F(SynonymsTest, OnlyOneBlankIsDroppedAndTextsStayAsWritten) {
  t.Game("room1.txt", "РН x\nнож = кинжал,  тесак\nА = \n");
  EXPECT_EQ(Pairs(), (V{"нож=кинжал", "нож= тесак", "А="}));
}

TEST_F(SynonymsTest, AnyLineWithTheSeparatorCountsFromTheSecondCharacterOn) {
  // " = " at the first position or within a line of three characters is no synonym line; a
  // score-variable line written with blanks is collected like any other.
  t.Game("room1.txt", "РН x\n = Б\n = \nПС 5 = 3\nА = Б = В\n");
  EXPECT_EQ(Pairs(), (V{"ПС 5=3", "А=Б = В", "А = Б=В"}));
}

TEST_F(SynonymsTest, TheCommonFileAddsItsPairsAfterTheLocations) {
  t.Game("room0.txt", "РН Общие\nИДТИ = ШАГАТЬ\n");
  t.Game("room1.txt", "РН x\nВЗЯТЬ = ПОДНЯТЬ\n");
  t.Game("room2.txt", "РН y\n");
  EXPECT_EQ(Pairs(1), (V{"ВЗЯТЬ=ПОДНЯТЬ", "ИДТИ=ШАГАТЬ"}));
  EXPECT_EQ(Pairs(2), (V{"ИДТИ=ШАГАТЬ"}));  // rebuilt, not added to
}

TEST_F(SynonymsTest, ScrambledFilesAndEnDashesAreRead) {
  WriteRaw(t.game() / "room1.txt",
           Encrypt(SplitLines(FromUtf8("РН x\nТУДА–СЮДА = ВЕЗДЕ\n")), CipherKind::Strong));
  EXPECT_EQ(Pairs(), (V{"ТУДА-СЮДА=ВЕЗДЕ"}));
  EXPECT_FALSE(std::filesystem::exists(t.work() / "temps.dat"));
}

TEST_F(SynonymsTest, FailuresAreReportedAndKeepWhatWasCollected) {
  t.Game("room1.txt", "РН x\nВЗЯТЬ = ПОДНЯТЬ\n");
  std::filesystem::remove(t.game() / "room0.txt");
  EXPECT_EQ(Pairs(), (V{"ВЗЯТЬ=ПОДНЯТЬ"}));
  ASSERT_EQ(t.platform.messages.size(), 1u);
  EXPECT_EQ(t.platform.messages[0], "Ошибка в строке: \r\nВЗЯТЬ = ПОДНЯТЬ\r\n(комната №1)");
  EXPECT_FALSE(t.p.file.IsOpen());
}

TEST_F(SynonymsTest, TheTableHoldsAtMostTwoThousandEntries) {
  std::string room = "РН x\n";
  for (int i = 0; i < 1001; ++i)
    room += "С" + std::to_string(i) + " = Т" + std::to_string(i) + "\n";
  t.Game("room1.txt", room);
  RoomSinonims(t.p, 1);
  EXPECT_EQ(t.p.SinonimCount, 2000);
  EXPECT_EQ(ToUtf8(t.p.Sinonim[2000]), "Т999");
  ASSERT_EQ(t.platform.messages.size(), 1u);
  EXPECT_EQ(t.platform.messages[0], "Ошибка в строке: \r\nС1000 = Т1000\r\n(комната №1)");
}

}  // namespace
}  // namespace mireval
