#include "script/synonyms.h"

#include <gtest/gtest.h>

#include "base/cipher.h"
#include "base/lines.h"
#include "base/text.h"
#include "support/test_game.h"

namespace mireval {
namespace {

class SynonymsTest : public ::testing::Test {
 protected:
  void SetUp() override { t.UseGameDir(); }
  // The table as "main=synonym" pairs after reading location `room`.
  std::vector<std::string> Pairs(int room = 1) {
    LoadLocationSynonyms(t.p, room);
    std::vector<std::string> out;
    for (int k = 1; k < t.p.synonymCount; k += 2)
      out.push_back(ToUtf8(t.p.synonyms[k]) + "=" + ToUtf8(t.p.synonyms[k + 1]));
    return out;
  }
  using V = std::vector<std::string>;
  TestPlayer t;
};

TEST_F(SynonymsTest, EveryLineWithTheSeparatorGivesPairsAfterTheLocationsOwn) {
  t.Game("room0.txt", "РН Общие\nИДТИ = ШАГАТЬ\n");
  t.Game("room1.txt",
         "РН x\nВЗЯТЬ = ПОДНЯТЬ, СХВАТИТЬ\nА = Б,В\nнож = кинжал,  тесак\nЯ = \n = Б\n = \n"
         "ПС 5 = 3\nА = Б = В\n");
  EXPECT_EQ(Pairs(), (V{"ВЗЯТЬ=ПОДНЯТЬ", "ВЗЯТЬ=СХВАТИТЬ", "А=Б,В", "нож=кинжал", "нож= тесак",
                        "Я=", "ПС 5=3", "А=Б = В", "А = Б=В", "ИДТИ=ШАГАТЬ"}));
  t.Game("room2.txt", "РН y\n");
  EXPECT_EQ(Pairs(2), (V{"ИДТИ=ШАГАТЬ"}));  // rebuilt, not added to
}

TEST_F(SynonymsTest, ScrambledFilesAndEnDashesAreRead) {
  t.Game("room0.txt", "РН Общие\n");
  WriteRaw(t.game() / "room1.txt",
           Encrypt(SplitLines(FromUtf8("РН x\nТУДА–СЮДА = ВЕЗДЕ\n")), CipherKind::Strong));
  EXPECT_EQ(Pairs(), (V{"ТУДА-СЮДА=ВЕЗДЕ"}));
  EXPECT_FALSE(std::filesystem::exists(t.work() / "temps.dat"));
}

TEST_F(SynonymsTest, FailuresAreReportedAndKeepWhatWasCollected) {
  std::string room = "РН x\n";
  for (int i = 0; i < 1001; ++i)
    room += "С" + std::to_string(i) + " = Т" + std::to_string(i) + "\n";
  t.Game("room1.txt", room);
  EXPECT_EQ(Pairs().size(), 1000u);                // the table holds 2000 entries
  t.Game("room1.txt", "РН x\nВЗЯТЬ = ПОДНЯТЬ\n");  // and no room0.txt
  EXPECT_EQ(Pairs(), (V{"ВЗЯТЬ=ПОДНЯТЬ"}));
  EXPECT_EQ(t.platform.messages, (V{"Ошибка в строке: \r\nС1000 = Т1000\r\n(комната №1)",
                                    "Ошибка в строке: \r\nВЗЯТЬ = ПОДНЯТЬ\r\n(комната №1)"}));
  EXPECT_FALSE(t.p.file.IsOpen());
}

TEST_F(SynonymsTest, ALongLineOfSeparatorsFillsTheTableOnlyOnce) {
  // Every " = " takes all text before it as a main word and all after it as a synonym, so this
  // 10 MB line would store itself about a thousand times before the 2000 entries run out.
  std::string line;
  while (line.size() < (std::size_t{10} << 20)) line += "А = ";
  t.Game("room0.txt", "РН Общие\n");
  t.Game("room1.txt", "РН x\n" + line + "\n");
  EXPECT_LE(Pairs().size(), 2u);
  ASSERT_EQ(t.platform.messages.size(), 1u);
  EXPECT_EQ(t.platform.messages[0].rfind("Ошибка в строке: \r\nА = А = А = ", 0), 0u);
  EXPECT_FALSE(t.p.file.IsOpen());
}

}  // namespace
}  // namespace mireval
