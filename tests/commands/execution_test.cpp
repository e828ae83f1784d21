#include "commands/execution.h"

#include <gtest/gtest.h>

#include "commands/command_fixture.h"
#include "engine/game_files.h"

namespace mireval {
namespace {

using Execution = CommandTest;

TEST_F(Execution, ScriptLinesAreCarriedOutAndNotPrinted) {
  t.Game(
      "room1.txt",
      "РН x\n\nТ ВЗЯТЬ\nДа.\nД 3 -4 5\nСС\nСС\nСТ\nЛ 9\nДИ 1\nКДИАЛ\nx\nКонец.\n\nне выполнено\n");
  t.Set(4);
  t.p.Harakter[1] = 0;
  t.p.Harakter[2] = 0;
  EXPECT_EQ(Type("взять"), "\r\n>  взять \r\n\r\nДа. \r\nx \r\nКонец. \r\n");
  EXPECT_TRUE(t.p.Uslovie.Get(3));
  EXPECT_FALSE(t.p.Uslovie.Get(4));
  EXPECT_TRUE(t.p.Uslovie.Get(5));
  EXPECT_EQ(t.p.Harakter[1], Variant(2));
  EXPECT_EQ(t.p.Harakter[2], Variant(1));
  EXPECT_EQ(ToUtf8(t.p.Label1[2].caption), "Характер:  2,  1 ().");  // refreshed at the end
  EXPECT_FALSE(t.p.file.IsOpen());
}

TEST_F(Execution, ConditionsChangeOnlyWhenTheyReallyDo) {
  t.Game("room1.txt", "РН x\n\nТ ВЗЯТЬ\nД 3 -4 5\n\nТ ДВАЖДЫ\nД -3\nД 3\n\n");
  Type("взять");
  EXPECT_TRUE(t.p.UslChanged);
  t.p.UslChanged = false;
  Type("взять");
  EXPECT_FALSE(t.p.UslChanged);
  t.Set(3, false);
  Type("дважды");
  EXPECT_TRUE(t.p.Uslovie.Get(3));
}

TEST_F(Execution, AMoveEndsTheBlockAtOnce) {
  t.Game("room1.txt", "РН x\n\nТ ИДТИ\nВы идете.\nИД 2\nне видно\nД 9\n\n");
  t.Game("room2.txt", "РН Мельница\nМУКА = ПЫЛЬ\nОП\nТемно.\n");
  t.platform.Enter();
  Type("идти");
  EXPECT_EQ(t.Story(), "Темно.\r\n");
  EXPECT_EQ(t.p.Room, Variant(2));
  EXPECT_EQ(ToUtf8(t.p.RoomName.Text()), " Мельница");
  EXPECT_EQ(t.p.SinonimCount, 2);
  EXPECT_FALSE(t.p.Uslovie.Get(9));
  EXPECT_EQ(ToUtf8(t.p.Label1[0].caption), " Мельница");
}

TEST_F(Execution, TheBlockPromptsForTheMoveAfterItsReply) {
  t.Game("room1.txt", "РН x\n\nТ ИДТИ\nВы идете.\nИД 2\n");
  t.Game("room2.txt", "РН y\nОП\nТемно.\n");
  std::string shown;
  t.platform.Then([&](Player& p) {
    shown = ToUtf8(p.T.text);
    p.EnterReady = true;
  });
  Type("идти");
  EXPECT_EQ(shown,
            "\r\n>  идти \r\n\r\nВы идете. \r\n>> Нажмите Enter для перехода в новую локацию...");
}

TEST_F(Execution, ABlockAtTheEndOfTheFileHasNoFinalLineBreak) {
  t.Game("room1.txt", "РН x\n\nТ ВЗЯТЬ\nВзято.");
  EXPECT_EQ(Type("взять"), "\r\n>  взять \r\n\r\nВзято. ");
}

TEST_F(Execution, RepliesGoThroughTheOutputWriter) {
  t.Game("room1.txt", "РН x\n\nТ БРОСИТЬ\nБросок.\nВЕР 12 100\nГАММА 3\n\n");
  Type("бросить");
  EXPECT_TRUE(t.p.Uslovie.Get(12));
  EXPECT_EQ(t.p.ColorScheme, Variant(3));
  EXPECT_EQ(t.Story().find("ВЕР"), std::string::npos);
  EXPECT_EQ(t.Story().find("ГАММА"), std::string::npos);
}

TEST_F(Execution, TheAutomaticDialogueCommandIsNotEchoed) {
  t.Game("room1.txt", "ДИ 1\nОтвет.\n\n");
  t.p.KomStroka = FromUtf8(" ДИАЛ АВТО ");
  OpenGameFile(t.p, "room1.txt");
  ReadScriptLine(t.p);
  VypolnitKomand(t.p);
  EXPECT_EQ(t.Story(), "\r\n\r\nОтвет. \r\n");
  EXPECT_FALSE(t.p.file.IsOpen());
}

TEST_F(Execution, ABadConditionNumberSpoilsOnlyItsLine) {
  t.Game("room1.txt", "РН x\n\nТ ВЗЯТЬ\nД 3 10001 4\nДальше.\n\n");
  EXPECT_EQ(Type("взять"), "\r\n>  взять \r\n\r\nДальше. \r\n");
  EXPECT_EQ(t.platform.messages,
            std::vector<std::string>{"Ошибка в строке: \r\nД 3 10001 4 \r\n(комната №1)"});
  EXPECT_TRUE(t.p.Uslovie.Get(3));
  EXPECT_FALSE(t.p.Uslovie.Get(4));
}

TEST(UstanovitUsl, OnlyNumbersFollowedByABlankAreTaken) {
  TestPlayer t;
  UstanovitUsl(t.p, FromUtf8("Д 12"));
  EXPECT_FALSE(t.p.Uslovie.Get(12));
  EXPECT_FALSE(t.p.UslChanged);
  t.Set(1);
  t.Set(13);
  UstanovitUsl(t.p, FromUtf8("Д 12 - 13  -1 "));
  EXPECT_TRUE(t.p.Uslovie.Get(12));
  EXPECT_FALSE(t.p.Uslovie.Get(13));  // a lone "-" negates the next number
  EXPECT_FALSE(t.p.Uslovie.Get(1));   // "-" is a negation, never a sign
  EXPECT_TRUE(t.p.UslChanged);
  UstanovitUsl(t.p, FromUtf8("Д -5 10000 "));
  EXPECT_TRUE(t.p.Uslovie.Get(10000));
}

}  // namespace
}  // namespace mireval
