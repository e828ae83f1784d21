// Damaged games played by the real mirterm with one fixed input script: every run must end by the
// end of its input (status 0) or right after an error report (status 3), say nothing but the
// program's own messages, print nothing on standard error (where the sanitizers report) and
// finish within the time limit. A failing game is kept under the temp folder for a closer look.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <iostream>
#include <set>
#include <string_view>

#include "base/files.h"
#include "base/lines.h"
#include "base/text.h"
#include "damaged/damaged_games.h"
#include "support/child_process.h"
#include "support/test_game.h"

namespace fs = std::filesystem;

namespace mireval {
namespace {

constexpr std::chrono::seconds kTimeLimit{60};

// Runs mirterm on `game` from the working folder `work`, input from `input`; what it prints is
// kept beside the working folder (out.txt, err.txt).
ChildRun PlayGame(const fs::path& work, const fs::path& game, const fs::path& input) {
  return RunChild({MIRTERM_PATH, "--seed", "7", game.string()},
                  {.cwd = work,
                   .in = input,
                   .out = work.parent_path() / "out.txt",
                   .err = work.parent_path() / "err.txt"},
                  static_cast<double>(kTimeLimit.count()));
}

bool StartsWithUtf8(const std::string& s, const std::string& prefix) {
  return s.rfind(prefix, 0) == 0;
}

// The messages the program may show, as mirterm prints them (each line after "!! ").
struct Message {
  const char* start;
  bool endsTheProgram;
};
const Message kMessages[] = {
    {"Ошибка игры - файл описания локации должен начинаться с символов РН и последующего "
     "названия локации.",
     false},
    {"Ошибка в описании локации - ни одно описание не подходит под ситуацию (нет безусловного "
     "описания).",
     false},
    {"Ошибка описания главного файла: main.txt не является файлом текстового квеста.", false},
    {"Ошибка при подсчете события в строке ", false},
    {"Ошибка при просчете добавления слов в столбцы в строке ", false},
    {"Ошибка при автозапуске игры. Проверьте файл start.txt (или удалите его).", true},
    {"Не удалось начать игру: ", false},
    {"Не удалось загрузить игру: ", false},
    {"Не удалось сохранить игру: ", false},
    {"Недопустимое имя для сохранения игры: ", false},
    {"Не удалось записать журнал команд logfile.txt. Игра продолжается без записи журнала.", false},
};
const char* const kLineError = "Ошибка в строке: ";
const char* const kRoomLine = "(комната №";
// One-line reports that start like the line error without its colon: the score pass (ends the
// program) and the media directives (play goes on).
const char* const kScoreError = " при подсчете переменной счета №";
const char* const kMediaError = " локации ";
// A message quotes at most 300 characters of a line (up to 600 bytes as printed) and adds a
// sentence of its own: anything much longer quoted a line whole.
constexpr std::size_t kLongestMessage = 1000;

// Checks every "!! " message of a transcript; returns what is wrong, or "" when all is well.
// `lastEnds` tells whether the last message is one after which the program ends.
std::string CheckMessages(const std::string& out, bool& lastEnds) {
  std::vector<std::string> lines = SplitLines(out);
  lastEnds = false;
  bool any = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (StartsWithUtf8(line, "?? ")) continue;  // the save name and the exit question
    if (!StartsWithUtf8(line, "!! ")) continue;
    const std::string text = line.substr(3);
    any = true;
    if (text.size() > kLongestMessage)
      return "a message of " + std::to_string(text.size()) + " bytes: " + text.substr(0, 200);
    if (text == kLineError) {
      // The line in question follows, and for most readers the location.
      if (i + 1 < lines.size() && StartsWithUtf8(lines[i + 1], "!! ")) ++i;
      if (i + 1 < lines.size() && StartsWithUtf8(lines[i + 1], std::string("!! ") + kRoomLine)) ++i;
      lastEnds = true;
      continue;
    }
    if (StartsWithUtf8(text, "Ошибка в строке ") && text.find(kScoreError) != std::string::npos) {
      lastEnds = true;
      continue;
    }
    if (StartsWithUtf8(text, "Ошибка в строке ") && text.find(kMediaError) != std::string::npos) {
      lastEnds = false;
      continue;
    }
    bool known = false;
    for (const Message& m : kMessages) {
      if (StartsWithUtf8(text, m.start)) {
        known = true;
        lastEnds = m.endsTheProgram;
        break;
      }
    }
    if (!known) return "unexpected message: " + text;
  }
  if (!any) lastEnds = false;
  return "";
}

std::string Tail(const std::string& s, std::size_t n = 1500) {
  return s.size() <= n ? s : "..." + s.substr(s.size() - n);
}

// Writes the game, plays it and checks the run. Returns "" or what went wrong.
std::string Check(const DamagedGame& g) {
  TempDir dir;
  const fs::path work = dir.path() / "work", game = dir.path() / "game";
  fs::create_directories(work);
  fs::create_directories(game);
  const fs::path outside = dir.path() / "outside";
  fs::create_directories(outside);
  for (const auto& [name, bytes] : BaseGame()) {
    std::string leaked;
    for (const std::string& line : SplitLines(bytes))
      leaked += line + " " + FromUtf8(kLeakedText) + "\r\n";
    WriteRaw(outside / name, leaked);
  }
  for (const auto& [name, bytes] : g.files) {
    if (bytes == kFolderEntry)
      fs::create_directories(game / name);
    else if (bytes == kPipeEntry)
      ::mkfifo((game / name).c_str(), 0644);
    else if (bytes.starts_with(kLinkEntry))
      fs::create_symlink(bytes.substr(kLinkEntry.size()), game / name);
    else
      WriteRaw(game / name, bytes);
  }
  WriteRaw(dir.path() / "input.txt", g.scriptUtf8);
  const ChildRun run = PlayGame(work, game, dir.path() / "input.txt");
  if (run.seconds > 5) std::cout << "slow: " << g.name << ": " << run.seconds << " s\n";

  std::string problem;
  bool lastEnds = false;
  const std::string messages = CheckMessages(run.out, lastEnds);
  if (run.timedOut)
    problem = "did not finish within " + std::to_string(kTimeLimit.count()) + " s";
  else if (run.signal != 0)
    problem = "ended by signal " + std::to_string(run.signal);
  else if (run.status != 0 && run.status != 3)
    problem = "ended with status " + std::to_string(run.status);
  else if (!run.err.empty())
    problem = "wrote to standard error";
  else if (!messages.empty())
    problem = messages;
  else if (run.status == 3 && !lastEnds)
    problem = "ended with status 3 without an error report";
  else if (run.out.find(kLeakedText) != std::string::npos)
    problem = "read a file from outside the game folder";
  if (problem.empty()) return "";

  // Keep the game for a closer look: it is cheap to make again, but not to find again.
  const fs::path keep = fs::temp_directory_path() / "mireval-damaged-failures" /
                        std::to_string(std::hash<std::string>{}(g.name));
  std::error_code ec;
  fs::remove_all(keep, ec);
  fs::create_directories(keep, ec);
  fs::copy(dir.path(), keep, fs::copy_options::recursive, ec);
  return g.name + ": " + problem + " (kept in " + keep.string() + ")\n--- stderr:\n" +
         Tail(run.err) + "\n--- stdout:\n" + Tail(run.out);
}

void CheckAll(const std::vector<DamagedGame>& games) {
  for (const DamagedGame& g : games) {
    const std::string problem = Check(g);
    EXPECT_TRUE(problem.empty()) << problem;
  }
}

GameFiles Demo() {
  GameFiles files;
  for (const auto& entry : fs::directory_iterator(DEMO_GAME_DIR))
    files[entry.path().filename().string()] = ReadRaw(entry.path());
  return files;
}

// A maker whose change missed (a file removed that was never there, a line replaced past the end)
// hands back the game it started from, which plays fine and tests nothing; two games of one name
// share the folder a failure is kept in.
TEST(DamagedGames, EachIsDamagedAndNamedApart) {
  const GameFiles demo = Demo(), base = BaseGame();
  std::vector<DamagedGame> games = TruncatedGames(demo);
  for (DamagedGame& g : RandomByteGames(demo)) games.push_back(std::move(g));
  for (const auto& make : {HugeLineGames, ManyConditionGames, MissingFileGames, MarkerGames,
                           TransitionLoopGames, BrokenScrambledGames, DamagedSaveGames,
                           RuleBreakingGames, SpecialFileGames, SlowShapeGames})
    for (DamagedGame& g : make()) games.push_back(std::move(g));
  std::set<std::string> names;
  for (const DamagedGame& g : games) {
    EXPECT_TRUE(names.insert(g.name).second) << "twice: " << g.name;
    const bool baseScript = std::string_view(g.scriptUtf8) == kBaseGameScriptUtf8;
    EXPECT_FALSE(baseScript && (g.files == base || g.files == demo)) << "undamaged: " << g.name;
  }
}

// The base game itself, and the messages check, must be sound for the rest to mean anything.
TEST(DamagedGames, TheUndamagedGamePlaysToTheEndOfItsScript) {
  TempDir dir;
  fs::create_directories(dir.path() / "work");
  for (const auto& [name, bytes] : BaseGame()) WriteRaw(dir.path() / "game" / name, bytes);
  WriteRaw(dir.path() / "input.txt", kBaseGameScriptUtf8);
  const ChildRun run = PlayGame(dir.path() / "work", dir.path() / "game", dir.path() / "input.txt");
  EXPECT_EQ(run.status, 0) << run.out;
  EXPECT_EQ(run.err, "");
  // The only message: the script loads a damaged.sav, which this game does not have.
  const std::size_t message = run.out.find("!! ");
  EXPECT_EQ(run.out.substr(message, run.out.find('\n', message) - message),
            "!! Не удалось загрузить игру: " + (dir.path() / "game").string() + "/damaged.sav");
  EXPECT_EQ(run.out.find("!! ", message + 1), std::string::npos) << run.out;
  // The script goes through the lists, a dialogue, a score variable's event, a save and its
  // load, and on to the second location and its automatic dialogue.
  for (const char* seen :
       {"> ИНВЕНТАРЬ", "Вы берете фонарь.", "[1] Где я?", "Все складывается как нельзя лучше.",
        "ИГРА УСПЕШНО СОХРАНЕНА", "|  Поляна |", "[1] Оглядеться."})
    EXPECT_NE(run.out.find(seen), std::string::npos) << seen << "\n" << run.out;
}

TEST(DamagedGames, Truncated) {
  CheckAll(TruncatedGames(Demo()));
}
TEST(DamagedGames, RandomBytes) {
  CheckAll(RandomByteGames(Demo()));
}
// The slowest kind, in two halves so that they can run side by side.
std::vector<DamagedGame> Half(std::vector<DamagedGame> games, bool second) {
  const auto middle = games.begin() + static_cast<std::ptrdiff_t>(games.size() / 2);
  return second ? std::vector<DamagedGame>(middle, games.end())
                : std::vector<DamagedGame>(games.begin(), middle);
}
TEST(DamagedGames, TenMegabyteLinesFirstHalf) {
  CheckAll(Half(HugeLineGames(), false));
}
TEST(DamagedGames, TenMegabyteLinesSecondHalf) {
  CheckAll(Half(HugeLineGames(), true));
}
TEST(DamagedGames, HundredThousandConditions) {
  CheckAll(ManyConditionGames());
}
TEST(DamagedGames, MissingFiles) {
  CheckAll(MissingFileGames());
}
TEST(DamagedGames, MarkersInTheMiddle) {
  CheckAll(MarkerGames());
}
TEST(DamagedGames, EndlessTransitions) {
  CheckAll(TransitionLoopGames());
}
TEST(DamagedGames, BrokenScrambledFiles) {
  CheckAll(BrokenScrambledGames());
}
TEST(DamagedGames, DamagedSaveFiles) {
  CheckAll(DamagedSaveGames());
}
TEST(DamagedGames, RuleBreakingScripts) {
  CheckAll(RuleBreakingGames());
}
TEST(DamagedGames, PipesAndLinks) {
  CheckAll(SpecialFileGames());
}
TEST(DamagedGames, SlowShapes) {
  CheckAll(SlowShapeGames());
}

}  // namespace
}  // namespace mireval
