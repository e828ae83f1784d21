// Whole games played through the terminal player: a script of input lines must give exactly the
// recorded transcript, every run.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/lines.h"
#include "base/text.h"
#include "support/child_process.h"
#include "support/test_game.h"

namespace mireval {
namespace {

struct Played : ChildRun {
  std::string log{};
};

// The demo draws a random condition at the dam; a fixed seed makes every run draw the same.
// `strict`: a script error or a line lost to a wait fails the run, as a failed check does.
Played PlayDemo(const std::string& input, bool strict = false) {
  TempDir dir;
  std::filesystem::create_directories(dir.path() / "work");
  std::vector<std::string> argv{MIRTERM_PATH, "--seed", "12", DEMO_GAME_DIR};
  if (strict) argv.insert(argv.begin() + 1, "--strict");
  Played played{RunChild(argv, {.cwd = dir.path() / "work", .input = input, .errToOut = true})};
  played.log = ReadRaw(dir.path() / "work" / "logfile.txt");
  return played;
}

std::string Expected(const std::string& file) {
  std::string text = ReadRaw(std::filesystem::path(E2E_DIR) / file);
  const std::string placeholder = "{GAME_DIR}";
  const std::string dir = std::filesystem::weakly_canonical(DEMO_GAME_DIR).string() + "/";
  for (std::size_t at; (at = text.find(placeholder)) != std::string::npos;)
    text.replace(at, placeholder.size(), dir);
  return text;
}

TEST(Walkthrough, TheDemoGameIsPlayedFromStartToEnd) {
  // The script checks each scene as it goes (/room, /expect, /condition): a failed check would
  // print an XX line and end the run with status 4.
  const std::string input = ReadRaw(std::filesystem::path(E2E_DIR) / "demo_walkthrough.in");
  const Played run = PlayDemo(input, true);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, Expected("demo_walkthrough.out"));
  // One log record per command line and per answer chosen; the Enter presses of pauses and
  // transitions, the closings of dialogues and the word clicks are not commands.
  const std::vector<std::string> log = SplitLines(run.log);
  ASSERT_EQ(log.size(), 54u);
  EXPECT_EQ(log.front(), FromUtf8("\" Развилка у мельницы\",\" помощь \""));
  EXPECT_EQ(log.back(), FromUtf8("\" Рассвет\",\" задания \""));
  // The same script gives the same transcript again.
  EXPECT_EQ(PlayDemo(input, true).out, run.out);
}

TEST(Walkthrough, TheOtherWayToTheLanternCostsAnEvilPointThatAConfessionMakesGood) {
  const Played run = PlayDemo(
      "\nвосток\n\nвзять фонарик\nвзять фонарь\n/state\nпостучать\nпоговорить со старушкой\n"
      "/answer 2\n");
  EXPECT_NE(run.out.find(">  взять фонарик \n\nВы снимаете фонарь с крюка. Хозяева вряд ли "
                         "обрадуются пропаже. \n== Старая мельница |  Деревня | Характер: добро "
                         "0, зло 1 (злой). | Ходы: 2, очки: 3.\n"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find(">  взять фонарь \n\nФонарь и так у вас в руке. \n"), std::string::npos);
  EXPECT_NE(run.out.find("\"true_conditions\":[5,14,3000]"), std::string::npos) << run.out;
  // Only the player who took the lantern is offered to own up, and owning up is a good deed.
  EXPECT_NE(run.out.find("[1] Что случилось с мельником?\n[2] Простите, это я снял ваш фонарь.\n"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("Честное слово дороже фонаря. \n== Старая мельница |  Деревня | Характер: "
                         "добро 1, зло 1 (добрый)."),
            std::string::npos)
      << run.out;
  // The rebuilt answers no longer offer it.
  const std::string last = "[0] <Закончить диалог>\n[1] Что случилось с мельником?\n";
  ASSERT_GE(run.out.size(), last.size());
  EXPECT_EQ(run.out.substr(run.out.size() - last.size()), last);
}

// The repository's program folder starts the demo beside it, so that playing needs no browser.
TEST(Walkthrough, TheProgramFolderStartsTheDemoAtOnce) {
  TempDir dir;
  std::filesystem::copy(PROGRAM_DIR, dir.path() / "program");
  std::filesystem::create_directories(dir.path() / "games");
  std::filesystem::copy(DEMO_GAME_DIR, dir.path() / "games" / "demo",
                        std::filesystem::copy_options::recursive);
  const ChildRun run = RunChild(
      {MIRTERM_PATH}, {.cwd = dir.path() / "program", .input = "\n/state\n", .errToOut = true});
  ASSERT_EQ(run.status, 0);
  const std::string& out = run.out;
  EXPECT_EQ(out.rfind("Начало игры:\n", 0), 0u) << out;
  const std::string game = std::filesystem::canonical(dir.path() / "games" / "demo").string();
  EXPECT_NE(out.find("{\"room\":1,\"room_name\":\" Развилка у мельницы\""), std::string::npos);
  EXPECT_NE(out.find("\"game_dir\":\"" + game + "/\"}"), std::string::npos) << out;
}

}  // namespace
}  // namespace mireval
