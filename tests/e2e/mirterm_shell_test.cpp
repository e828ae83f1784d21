// mirterm driving the game shell: choosing games and saves, saving, leaving, pictures and music.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>

#include "frontends/term/term_platform.h"
#include "support/test_game.h"

namespace mireval {
namespace {

namespace fs = std::filesystem;

struct TermRun {
  int status;
  std::string out;
};

// Runs mirterm in <dir>/work with a game folder <dir>/game written by the test.
class MirtermShell : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir.path() / "work");
    Game("main.txt", "Текстовый квест\nМельница\n1\n");
    Game("room0.txt", "РН Общее\n");
    Game("room1.txt", "РН Развилка\nОП\nДорога.\nКАР 2 pic.jpg\nМУЗ theme.ogg\n");
    Game("room2.txt", "РН Мельница\nОП\nЖернова.\n\nОП 7\nЖернова крутятся.\n");
    WriteRaw(game() / "pic.jpg", "picture");
    WriteRaw(game() / "theme.ogg", "music");
  }
  void Game(const std::string& name, const std::string& utf8) {
    WriteGameFile(game() / name, utf8);
  }
  fs::path game() const { return dir.path() / "game"; }

  TermRun Run(const std::string& args, const std::string& input) {
    WriteRaw(dir.path() / "input.txt", input);
    std::string cmd = "cd '" + (dir.path() / "work").string() + "' && '" MIRTERM_PATH "' " + args +
                      " < ../input.txt > ../out.txt 2>/dev/null";
    int rc = std::system(cmd.c_str());
    return {WEXITSTATUS(rc), ReadRaw(dir.path() / "out.txt")};
  }

  TempDir dir;
};

bool Has(const std::string& out, const std::string& part) {
  return out.find(part) != std::string::npos;
}

TEST_F(MirtermShell, SavesAndLoadsThroughThePrompts) {
  TermRun r = Run("../game", "\nсохранить игру\nslot\nзагрузить игру\n/load slot.sav\n/state\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(Has(r.out, "?? Введите имя для сохранения игры.\n")) << r.out;
  EXPECT_TRUE(Has(r.out, "ИГРА УСПЕШНО СОХРАНЕНА\n")) << r.out;
  EXPECT_TRUE(Has(r.out, "ИГРА УСПЕШНО ЗАГРУЖЕНА \n-----\nДорога.\n")) << r.out;
  EXPECT_TRUE(Has(r.out, "{\"room\":1,")) << r.out;
  EXPECT_TRUE(fs::exists(game() / "slot.sav"));
}

TEST_F(MirtermShell, LoadsAHandWrittenSaveByPath) {
  std::string save = "2,1,0,5,\"Мельница\"\n\"a\",\"b\",\"c\",\"d\",\"e\",\"f\"\n";
  for (int i = 0; i < 1000; ++i) save += "\"\"\n";
  for (int k = 0; k <= 10000; ++k) {
    // Condition k is true when the digits of N + k add up (with the hundreds' parity) to 1.
    auto decodes = [k](int n) {
      return (n + k) % 10 + (n + k) % 100 / 10 + (n + k) / 100 % 2 == 1;
    };
    int n = 100;
    while (decodes(n) != (k == 7)) ++n;
    save += std::to_string(n) + "\n";
  }
  Game("hand.sav", save);
  TermRun r = Run("", "/load ../game/hand.sav\n/state\n");
  EXPECT_TRUE(Has(r.out, "-----\nЖернова крутятся.\n")) << r.out;
  EXPECT_TRUE(Has(r.out,
                  "\"room\":2,\"room_name\":\" Мельница\",\"game\":\"Мельница\",\"moves\":5,"
                  "\"good\":1,\"evil\":0"))
      << r.out;
  EXPECT_TRUE(Has(r.out, "\"true_conditions\":[0,7,3000]")) << r.out;
  EXPECT_TRUE(Has(r.out, "\"game_dir\":\"" + game().string() + "/\"")) << r.out;

  TermRun bad = Run("", "/load ../game/missing.sav\n/state\n");
  EXPECT_TRUE(Has(bad.out, "!! Не удалось загрузить игру: " + game().string() + "/missing.sav\n"))
      << bad.out;
  EXPECT_TRUE(Has(bad.out, "{\"room\":0,")) << bad.out;
}

TEST_F(MirtermShell, LeavingAsksAboutSavingFirst) {
  TermRun yes = Run("../game", "\nвыход\nда\nна выходе\n");
  EXPECT_EQ(yes.status, 0);
  EXPECT_TRUE(Has(yes.out,
                  "?? Желаете ли сохранить свою игру перед уходом? [да/нет]\n?? Введите "
                  "имя для сохранения игры.\n"))
      << yes.out;
  EXPECT_TRUE(fs::exists(game() / "на выходе.sav"));

  TermRun no = Run("../game", "\nвыход\nнет\n/state\n");
  EXPECT_EQ(no.status, 0);
  EXPECT_FALSE(Has(no.out, "\"room\""));  // ended before the state was asked for
}

TEST_F(MirtermShell, OpensAFolderAndReportsPictureAndMusic) {
  TermRun r = Run("", "/open ../game\n\n/state\n/picture close\n/state\n/open ../nowhere\n");
  EXPECT_TRUE(Has(r.out, "Дорога.\n")) << r.out;
  EXPECT_TRUE(Has(r.out, "\"picture\":{\"visible\":true,\"file\":\"" +
                             (game() / "pic.jpg").string() +
                             "\",\"stretch\":false},\"music\":\"theme.ogg\""))
      << r.out;
  EXPECT_TRUE(Has(r.out, "\"picture\":{\"visible\":false,")) << r.out;
  EXPECT_TRUE(
      Has(r.out, "!! Не удалось начать игру: " + (dir.path() / "nowhere").string() + "/main.txt\n"))
      << r.out;
}

TEST_F(MirtermShell, AutostartGameStartsAfterTheCover) {
  WriteGameFile(dir.path() / "work" / "obloz.txt", "Обложка\n");
  WriteGameFile(dir.path() / "work" / "start.txt", "../game\n");
  TermRun r = Run("", "\n/state\n");
  // The cover is replaced before the player first waits, so the introduction comes first.
  EXPECT_EQ(r.out.rfind("Начало игры:\n", 0), 0u) << r.out;
  EXPECT_TRUE(Has(r.out, "{\"room\":1,")) << r.out;

  WriteGameFile(dir.path() / "work" / "start.txt", "../nowhere\n");
  TermRun bad = Run("", "/state\n");
  EXPECT_EQ(bad.status, 3);
  EXPECT_TRUE(
      Has(bad.out, "!! Ошибка при автозапуске игры. Проверьте файл start.txt (или удалите его).\n"))
      << bad.out;
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
