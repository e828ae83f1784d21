// Drives the real mirterm binary with input scripts and checks what it prints.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/test_game.h"

namespace mireval {
namespace {

// Runs mirterm with `args` in <dir>/work on the input given; `stackKb` > 0 runs it with a stack of
// that size.
ChildRun Mirterm(const TempDir& dir, const std::vector<std::string>& args, const std::string& input,
                 std::size_t stackKb = 0) {
  std::filesystem::create_directories(dir.path() / "work");
  std::vector<std::string> argv{MIRTERM_PATH};
  argv.insert(argv.end(), args.begin(), args.end());
  return RunChild(argv, {.cwd = dir.path() / "work", .input = input, .stackKb = stackKb});
}

TEST(Mirterm, PlaysTheDemoIntroductionAndFirstLocation) {
  TempDir dir;
  ChildRun r = Mirterm(dir, {DEMO_GAME_DIR}, "\n/state\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind("Начало игры:\n", 0), 0u) << r.out;
  EXPECT_NE(r.out.find("\n>> Нажмите Enter для перехода в новую локацию...\n"), std::string::npos);
  EXPECT_NE(r.out.find("\n-----\n"), std::string::npos);
  EXPECT_NE(r.out.find("== Старая мельница |  Развилка у мельницы | Характер: добро 0, зло 0 "
                       "(добрый). | Ходы: 0, очки: 1.\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("{\"room\":1,\"room_name\":\" Развилка у мельницы\""), std::string::npos);
  EXPECT_NE(r.out.find("\"waiting\":\"input\""), std::string::npos);
}

TEST(Mirterm, SameScriptSameTranscript) {
  TempDir a, b;
  std::string script = "\n/state\nцветовая гамма 4\n/state\n";
  EXPECT_EQ(Mirterm(a, {DEMO_GAME_DIR}, script).out, Mirterm(b, {DEMO_GAME_DIR}, script).out);
}

TEST(Mirterm, ShowsTheCoverWithoutAGame) {
  TempDir dir;
  WriteGameFile(dir.path() / "work" / "obloz.txt", "Обложка\n");
  ChildRun r = Mirterm(dir, {}, "/state\n");
  EXPECT_EQ(r.out.rfind("Обложка\n{\"room\":0,", 0), 0u) << r.out;
}

TEST(Mirterm, TenThousandClicksWhileAnAnswerWaitsToMovePlayItOnce) {
  TempDir dir;
  std::filesystem::path game = dir.path() / "game";
  WriteGameFrame(game);
  WriteGameFile(game / "room1.txt",
                "РН Сторожка\nОП\nТесная сторожка.\n\n"
                "ДИАЛ ВАХТЕР\nДИ 1\nЛ -7\nД 7\nСС\nЗдравствуйте!\nИД 2\n\nКДИАЛ\n");
  WriteGameFile(game / "room2.txt", "РН Лес\nОП\nВ лесу.\n");
  std::string input = "\nдиал вахтер\n/answer 1\n";
  for (int k = 0; k < 10000; ++k) input += "/answer 1\n";
  input += "\n/state\n";
  // Each click played inside the wait would wait again inside it; a small stack shows it at once.
  ChildRun r = Mirterm(dir, {game.string()}, input, 1024);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_NE(r.out.find("{\"room\":2,\"room_name\":\" Лес\""), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\"moves\":2,\"good\":1,\"evil\":0,"), std::string::npos);
  EXPECT_NE(r.out.find("\"waiting\":\"input\""), std::string::npos);
}

TEST(Mirterm, AGameStartedAgainAndAgainDuringItsWaitKeepsTheStackFlat) {
  TempDir dir;
  std::filesystem::path game = dir.path() / "game";
  WriteGameFrame(game);
  WriteGameFile(game / "room1.txt", "РН Сторожка\nОП\nТесная сторожка.\n");
  // Every start waits for Enter after the introduction; the next start comes during that wait.
  std::string input;
  for (int k = 0; k < 3000; ++k) input += "/open " + game.string() + "\n";
  input += "\n/state\n";
  ChildRun r = Mirterm(dir, {}, input, 1024);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_NE(r.out.find("{\"room\":1,\"room_name\":\" Сторожка\""), std::string::npos);
  EXPECT_NE(r.out.find("\"waiting\":\"input\""), std::string::npos);
}

TEST(Mirterm, UsageErrors) {
  TempDir dir;
  EXPECT_EQ(Mirterm(dir, {"--frobnicate"}, "").status, 2);
  ChildRun missing = Mirterm(dir, {"/no/such/folder"}, "");
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("no such folder"), std::string::npos);
  EXPECT_EQ(Mirterm(dir, {"--seed"}, "").status, 2);
}

TEST(Mirterm, UnknownActionsChangeNothing) {
  TempDir dir;
  ChildRun r = Mirterm(dir, {}, "/fly away\n/quit\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("!! unknown action\n"), std::string::npos);
}

TEST(Mirterm, ScriptErrorEndsWithStatusThree) {
  TempDir dir;
  std::filesystem::path game = dir.path() / "game";
  WriteGameFile(game / "main.txt", "Текстовый квест\nСломанная\n1\n");
  WriteGameFile(game / "room1.txt", "РН x\nОП 12345\nтекст\n");
  ChildRun r = Mirterm(dir, {game.string()}, "\n");
  EXPECT_EQ(r.status, 3);
  // The report, then the file and line it came from.
  EXPECT_NE(r.out.find("!! Ошибка в строке: \n!! ОП 12345\n!> room1.txt:2\n"), std::string::npos)
      << r.out;
}

// A walkthrough checks itself: every failed expectation is listed with its input line, the run
// plays on to the end and then ends with status 4.
TEST(Mirterm, WalkthroughExpectationsListEveryFailureAndEndWithStatusFour) {
  TempDir dir;
  const std::string passing =
      "\n/room 1\n/condition 5 off\nосмотреть мельницу\n/expect Над холмом чернеет мельница\n"
      "/expect-not ключ\n";
  ChildRun ok = Mirterm(dir, {DEMO_GAME_DIR}, passing);
  EXPECT_EQ(ok.status, 0) << ok.out;
  EXPECT_EQ(ok.out.find("XX "), std::string::npos) << ok.out;

  ChildRun r = Mirterm(dir, {DEMO_GAME_DIR},
                       "\n/room 7\nосмотреть мельницу\n/expect чего здесь нет\n"
                       "/expect-not мельница\n/condition 5 on\n/state\n");
  EXPECT_EQ(r.status, 4);
  EXPECT_NE(r.out.find("XX 2: expected room 7, found room 1\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("XX 4: expected \"чего здесь нет\", found \"\\n>  осмотреть мельницу"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("XX 5: expected no \"мельница\", found"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("XX 6: expected condition 5 on, found off\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("{\"room\":1,"), std::string::npos);  // played on after the failures
}

// Strict mode also fails a run on a script error and on a typed line that a wait threw away,
// without changing what is played.
TEST(Mirterm, StrictRunsFailOnScriptErrorsAndLostLines) {
  TempDir dir;
  ChildRun lost = Mirterm(dir, {"--strict", DEMO_GAME_DIR}, "осмотреть мельницу\n/state\n");
  EXPECT_EQ(lost.status, 4);
  EXPECT_NE(lost.out.find("XX 1: the line \"осмотреть мельницу\" was typed while a transition "
                          "waited for Enter, and was lost\n"),
            std::string::npos)
      << lost.out;
  EXPECT_EQ(Mirterm(dir, {DEMO_GAME_DIR}, "осмотреть мельницу\n").status, 0);

  std::filesystem::path game = dir.path() / "game";
  WriteGameFrame(game);
  WriteGameFile(game / "room1.txt", "РН x\nОП\nтекст\nКАР 2 нет.jpg\n");
  EXPECT_EQ(Mirterm(dir, {game.string()}, "\n").status, 0);
  ChildRun error = Mirterm(dir, {"--strict", game.string()}, "\n");
  EXPECT_EQ(error.status, 4) << error.out;
  EXPECT_NE(error.out.find("!! Ошибка в строке КАР 2 нет.jpg"), std::string::npos) << error.out;
}

TEST(Mirterm, PausePromptIsShownAndTheTextGoesOn) {
  TempDir dir;
  std::filesystem::path game = dir.path() / "game";
  std::string intro;
  for (int i = 0; i < 30; ++i) intro += std::string(50, 'x') + "\n";
  intro += "конец\n";
  WriteGameFile(game / "main.txt", "Текстовый квест\nДлинная\n1\n");
  WriteGameFile(game / "intro.txt", intro);
  WriteGameFile(game / "room1.txt", "РН x\nОП\nтекст\n");
  ChildRun r = Mirterm(dir, {game.string()}, "\n/state\n");
  EXPECT_NE(r.out.find("< Нажмите Enter для продолжения >\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("конец\n\n>> Нажмите Enter"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\"waiting\":\"transition\""), std::string::npos) << r.out;
}

}  // namespace
}  // namespace mireval

namespace mireval {
namespace {

TEST(Mirterm, AnswersAndWordColumnsAreShownAndClicked) {
  TempDir dir;
  std::filesystem::path game = dir.path() / "game";
  WriteGameFile(game / "main.txt", "Текстовый квест\nРазговор\n1\n");
  WriteGameFile(game / "room0.txt", "РН общие\nК2 сторожа\n");
  WriteGameFile(game / "room1.txt",
                "РН Будка\nОП\nСторож дремлет.\n\nК1 -4 будить\n"
                "ДИАЛ% СТОРОЖ%\nДИ 1\nЛ -4\nД 4\nЭй, проснись!\nСторож открывает глаз.\n\n"
                "ДИ 2\nУйти.\n\nКДИАЛ\n");
  ChildRun r =
      Mirterm(dir, {game.string()},
              "\n/word 1 1\n/word 2 1\n/state\n/enter\nдиалог сторожа\n/answer 1\n/answer 7\n"
              "/answer x\n/state\n/answer 0\n/state\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("К1: будить\nК2: сторожа\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\"input\":\"будить  сторожа\""), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\n>  будить сторожа \n"), std::string::npos) << r.out;  // /enter sends it
  EXPECT_NE(r.out.find("[0] <Закончить диалог>\n[1] Эй, проснись!\n[2] Уйти.\n"), std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("Сторож открывает глаз. \n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Ходы: 3, очки: 2.\n[0] <Закончить диалог>\n[1] Уйти.\n"),
            std::string::npos);
  EXPECT_NE(r.out.find("К1: \nК2: сторожа\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("!! unknown action\n"), std::string::npos);
  EXPECT_NE(r.out.find("\"buttons\":[{\"index\":0,\"caption\":\"<Закончить диалог>\",\"top\":429.3,"
                       "\"height\":83.3},{\"index\":1,\"caption\":\"Уйти.\",\"top\":346.0,"
                       "\"height\":83.3}],\"story_height\":296"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("\"buttons\":[],\"story_height\":395"), std::string::npos);
}

}  // namespace
}  // namespace mireval
