// Small games played through the key handler on the scripted platform, from the new game on.
#include <gtest/gtest.h>

#include "engine/cipher.h"
#include "engine/lines.h"
#include "engine/text.h"
#include "shell/keys.h"
#include "shell/startup.h"
#include "support/test_game.h"

namespace mireval {
namespace {

class PlayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    t.Game("main.txt", "Текстовый квест\nСундук\n1\n");
    t.Game("intro.txt", "Вступление.\n");
    t.Game("room1.txt",
           "РН Комната\nОП\nКомната. На полу сундук.\n\nОП 2\nКомната. Сундук открыт.\n\n"
           "Т ОТКРЫТЬ СУНДУК\nЛ -2\nКрышка поддается.\nД 2\nСС\n\n"
           "Т ОТКРЫТЬ СУНДУК\nЛ 2\nУже открыт.\n\n"
           "Т ВЫЙТИ\nЛ 2\nВы выходите.\nИД 2\n\n"
           "Т ВЫЙТИ\nДверь не пускает.\n");
    t.Game("room2.txt", "РН Двор\nОП\nДвор.\n");
    // The common file is scrambled; its synonyms work in every location.
    WriteRaw(t.game() / "room0.txt",
             Encrypt(SplitLines(FromUtf8("РН Общие\nОТКРЫТЬ = ОТВОРИТЬ\nСУНДУК = ЯЩИК\n\n"
                                         "Т ПНУТЬ%\nЛ 2\nСТ\nВы пинаете сундук.\n")),
                     CipherKind::Strong));
  }
  // Queues a typed line and, after it, a note of what the story area then holds.
  void Step(const std::string& utf8) {
    t.platform.Enter(utf8);
    t.platform.Then([this](Player& p) { stories.push_back(ToUtf8(p.T.text)); });
  }
  void Play() {
    try {
      StartGameInFolder(t.p, t.game());
      for (;;) t.platform.PumpEvents();  // the front end's event loop
    } catch (const InputExhausted&) {
    }
  }
  TestPlayer t;
  std::vector<std::string> stories;
};

TEST_F(PlayTest, AGameIsPlayedByTypedCommands) {
  Step("");  // releases the transition into location 1
  Step("выйти");
  Step("пнуть");
  Step("отворить ящик");
  Step("отворить ящик");
  Step("пнуть его");
  Step("выйти");
  Step("");
  Play();
  ASSERT_EQ(stories.size(), 8u);
  EXPECT_EQ(stories[0], "Комната. На полу сундук.\r\n\r\n");
  EXPECT_EQ(stories[1], stories[0] + "\r\n>  выйти \r\n\r\nДверь не пускает. ");
  const std::string refusal = stories[2].substr(stories[1].size());
  EXPECT_EQ(refusal.rfind("\r\n>  пнуть \r\n", 0), 0u) << refusal;
  EXPECT_EQ(stories[3], stories[2] + "\r\n>  отворить ящик \r\n\r\nКрышка поддается. \r\n");
  EXPECT_EQ(stories[4], stories[3] + "\r\n>  отворить ящик \r\n\r\nУже открыт. \r\n");
  EXPECT_EQ(stories[5], stories[4] + "\r\n>  пнуть его \r\n\r\nВы пинаете сундук. ");
  EXPECT_EQ(stories[6], stories[5] +
                            "\r\n>  выйти \r\n\r\nВы выходите. \r\n>> Нажмите Enter для "
                            "перехода в новую локацию...");
  EXPECT_EQ(stories[7], "Двор.\r\n");

  EXPECT_EQ(t.p.Room, Variant(2));
  EXPECT_EQ(t.p.Hody, Variant(6));
  EXPECT_EQ(t.p.Harakter[1], Variant(1));
  EXPECT_EQ(t.p.Harakter[2], Variant(1));
  EXPECT_TRUE(t.p.Uslovie.Get(2));
  EXPECT_EQ(ToUtf8(t.p.Label1[0].caption), " Двор");
  EXPECT_EQ(ToUtf8(t.p.Label1[2].caption), "Характер: добро 1, зло 1 (добрый).");
  EXPECT_EQ(ToUtf8(t.p.Label1[1].caption), "Ходы: 6, очки: 2.");
  EXPECT_EQ(t.p.Text2.text, "");
  EXPECT_TRUE(t.platform.messages.empty());
  EXPECT_FALSE(std::filesystem::exists(t.work() / "temps.dat"));
  EXPECT_EQ(SplitLines(ReadRaw(t.work() / "logfile.txt")).size(), 6u);
}

TEST_F(PlayTest, NoCommandIsTakenWhileNoGameRuns) {
  t.p.Text2.SetText(FromUtf8("открыть сундук"));
  Text2_KeyPress(t.p, kEnter);
  EXPECT_EQ(ToUtf8(t.p.Text2.text), "открыть сундук");
  EXPECT_TRUE(t.p.Hody.IsEmpty());
  EXPECT_FALSE(std::filesystem::exists(t.work() / "logfile.txt"));
}

TEST_F(PlayTest, AScriptErrorEndsTheGameWithItsReport) {
  t.Game("room1.txt", "РН Комната\nОП\nКомната.\n\nТ ОТКРЫТЬ\nЛ 5 99999\nКрышка.\n");
  Step("");
  Step("открыть");
  EXPECT_EQ(ExpectEnd([&] { Play(); }), kExitAfterError);
  EXPECT_EQ(t.platform.messages,
            std::vector<std::string>{"Ошибка в строке: \r\nЛ 5 99999 \r\n(комната №1)"});
}

}  // namespace
}  // namespace mireval
