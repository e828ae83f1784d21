// mirterm driving the game shell: choosing games and saves, saving, leaving, pictures and music.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "frontends/term/term_platform.h"
#include "support/child_process.h"
#include "support/test_game.h"

namespace mireval {
namespace {

namespace fs = std::filesystem;

// Runs mirterm in <dir>/work with the input lines given; a game folder <dir>/game is ready.
class MirtermShell : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir.path() / "work");
    WriteGameFile(game() / "main.txt", "Текстовый квест\nМельница\n1\n");
    WriteGameFile(game() / "room0.txt", "РН Общее\n");
    WriteGameFile(game() / "room1.txt", "РН Развилка\nОП\nДорога.\nКАР 2 pic.jpg\nМУЗ theme.ogg\n");
    WriteRaw(game() / "pic.jpg", "picture");
  }
  fs::path game() const { return dir.path() / "game"; }

  std::string Run(const std::vector<std::string>& args, const std::string& input) {
    std::vector<std::string> argv{MIRTERM_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    const ChildRun run = RunChild(argv, {.cwd = dir.path() / "work", .input = input});
    EXPECT_EQ(run.status, 0);
    return run.out;
  }

  TempDir dir;
};

bool Has(const std::string& out, const std::string& part) {
  return out.find(part) != std::string::npos;
}

TEST_F(MirtermShell, SavesThroughThePromptAndLoadsByName) {
  std::string out = Run({"../game"},
                        "\nсохранить игру\nslot\nзагрузить игру\n/load slot.sav\n"
                        "/load missing.sav\n/state\n");
  EXPECT_TRUE(Has(out, "?? Введите имя для сохранения игры.\n")) << out;
  EXPECT_TRUE(Has(out, "ИГРА УСПЕШНО СОХРАНЕНА\n")) << out;
  EXPECT_TRUE(Has(out, "ИГРА УСПЕШНО ЗАГРУЖЕНА \n-----\nДорога.\n")) << out;
  EXPECT_TRUE(Has(out, "!! Не удалось загрузить игру: " + game().string() + "/missing.sav\n"));
  EXPECT_TRUE(Has(out, "{\"room\":1,")) << out;
}

TEST_F(MirtermShell, OpensAFolderAndReportsPictureAndMusic) {
  std::string out = Run({}, "/open ../game\n\n/state\n/picture close\n/state\n/open ../nowhere\n");
  EXPECT_TRUE(Has(out, "Дорога.\n")) << out;
  EXPECT_TRUE(Has(out, "\"picture\":{\"visible\":true,\"file\":\"" + (game() / "pic.jpg").string() +
                           "\",\"stretch\":false},\"music\":\"theme.ogg\""))
      << out;
  EXPECT_TRUE(Has(out, "\"picture\":{\"visible\":false,")) << out;
  EXPECT_TRUE(
      Has(out, "!! Не удалось начать игру: " + (dir.path() / "nowhere").string() + "/main.txt\n"))
      << out;
}

TEST_F(MirtermShell, AGameOpenedDuringATransitionIsTheOneThatGoesOn) {
  WriteGameFile(game() / "room1.txt", "РН Развилка\nОП\nДорога.\n\nТ ВПЕРЕД\nИдёте.\nИД 2\n");
  WriteGameFile(game() / "room2.txt", "РН Лес\nОП\nЛес.\n");
  std::string out = Run({"../game"}, "\nвперед\n/open ../game\n\n/state\n");
  EXPECT_TRUE(
      Has(out, "{\"room\":1,\"room_name\":\" Развилка\",\"game\":\"Мельница\",\"moves\":0,"))
      << out;
  EXPECT_FALSE(Has(out, "Лес.")) << out;
}

TEST_F(MirtermShell, LeavingAsksAboutSavingFirst) {
  std::string out = Run({"../game"}, "\nвыход\nда\nна выходе\n");
  EXPECT_TRUE(Has(out,
                  "?? Желаете ли сохранить свою игру перед уходом? [да/нет]\n?? Введите "
                  "имя для сохранения игры.\n"))
      << out;
  EXPECT_TRUE(fs::exists(game() / "на выходе.sav"));
  EXPECT_FALSE(Has(Run({"../game"}, "\nвыход\nнет\n/state\n"), "\"room\""));
}

TEST(MirtermTimer, FiresBeforeAnInputLineOnceItsIntervalHasPassed) {
  std::istringstream in("да\nнет\nда\n");
  std::ostringstream out;
  TermPlatform term(in, out, std::nullopt);
  int ticks = 0;
  term.StartTimer(60000, [&] { ++ticks; });
  EXPECT_TRUE(term.AskYesNo("?"));
  EXPECT_EQ(ticks, 0);
  term.StartTimer(0, [&] { ++ticks; });
  EXPECT_FALSE(term.AskYesNo("?"));
  EXPECT_TRUE(term.AskYesNo("?"));
  EXPECT_EQ(ticks, 2);
}

}  // namespace
}  // namespace mireval
