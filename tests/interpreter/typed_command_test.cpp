#include "interpreter/typed_command.h"

#include <gtest/gtest.h>

#include <random>

#include "base/cipher.h"
#include "base/lines.h"
#include "base/text.h"
#include "interpreter/execution.h"
#include "interpreter/refusal.h"
#include "script/game_files.h"
#include "support/test_game.h"

namespace mireval {
namespace {

class TypedCommandTest : public ::testing::Test {
 protected:
  void SetUp() override { t.p.locationName = FromUtf8(" Поляна"); }
  // Types the line, runs the interpreter and returns what the story area gained.
  std::string Type(const std::string& utf8) {
    const std::size_t before = t.p.story.text.size();
    t.p.input.SetText(FromUtf8(utf8));
    ExecuteTypedCommand(t.p);
    return ToUtf8(t.p.story.text.substr(std::min(before, t.p.story.text.size())));
  }
  // The exact echo and reply of an entry whose block ends with an empty line.
  static std::string Reply(const std::string& typed, const std::string& line) {
    return "\r\n>  " + typed + " \r\n\r\n" + line + " \r\n";
  }
  static bool IsRefusal(const std::string& gained, const std::string& framed) {
    for (const char* sentence : kRefusalsUtf8)
      if (gained == "\r\n> " + framed + "\r\n" + sentence + "\r\n") return true;
    return false;
  }
  LocationPlayer t;
};

TEST_F(TypedCommandTest, SelectionPrefersWordsThenConditionsThenTheLocationThenTheLaterEntry) {
  const struct {
    const char *room, *common;
    int room_number;
    const char *typed, *winner;
  } cases[] = {
      {"Т ВЗЯТЬ НОЖ\nA\n\nТ ВЗЯТЬ\nB\n", "", 1, "взять нож", "A"},
      {"Т ВЗЯТЬ\nB\n\nТ ВЗЯТЬ НОЖ\nA\n", "", 1, "взять нож", "A"},
      {"Т ВЗЯТЬ\nЛ 5\nA\n\nТ ВЗЯТЬ\nB\n", "", 1, "взять", "A"},
      {"Т ВЗЯТЬ\nЛ 5 6\nA\n\nТ ВЗЯТЬ\nB\n", "", 1, "взять", "B"},  // 6 fails
      {"Т ВЗЯТЬ\nтекст\nЛ 6\nA\n\nТ ВЗЯТЬ\nB\n", "", 1, "взять", "B"},
      {"Т ВЗЯТЬ\nB\n\nТ ВЗЯТЬ\nД 7\nЛ 6\nA\n", "", 1, "взять", "A"},  // "Л " after "Д ": ignored
      {"Т ВЗЯТЬ\nA\n", "Т ВЗЯТЬ\nB\n", 1, "взять", "A"},
      {"Т ВЗЯТЬ\nA\n\nТ ВЗЯТЬ\nB\n", "", 1, "взять", "B"},
      {"", "Т ВЗЯТЬ\nB\n\nТ ВЗЯТЬ\nЛ 5\nC\n", 1, "взять", "C"},
      {"Т ВЗЯТЬ\nA\n", "Т ВЗЯТЬ\nЛ 5\nB\n", 150, "взять", "A"},  // the number outweighs
      {"Т ВЗЯТЬ\nA\n", "Т ВЗЯТЬ\nЛ 5\nB\n", 50, "взять", "B"},
      // A description line starting with "Т " is no entry and does not shift the winner.
      {"ОП\nТ ы кто\n\nТ ИДТИ\nA\n\nТ ВЗЯТЬ\nB\n", "", 1, "взять", "B"},
  };
  t.Set(5);
  for (const auto& c : cases) {
    t.p.location = c.room_number;
    t.Game("room" + std::to_string(c.room_number) + ".txt",
           std::string("РН x\n\n") + c.room + "\n");
    t.Game("room0.txt", std::string("РН y\n\n") + c.common + "\n");
    EXPECT_EQ(Type(c.typed), Reply(c.typed, c.winner)) << c.room << "|" << c.common;
  }
  t.Game("room1.txt", "РН x\n\nТ ВЗЯТЬ\nЛ -5\nA\n\n");
  t.p.location = 1;
  EXPECT_TRUE(IsRefusal(Type("взять"), " взять "));
}

TEST_F(TypedCommandTest, ScrambledFilesAreReadLikePlainOnesAndTheirCopyIsRemoved) {
  WriteRaw(t.game() / "room1.txt",
           Encrypt(SplitLines(FromUtf8("РН x\n\nТ А\nа\n\nТ Б\nб\n\n")), CipherKind::Ordinary));
  WriteRaw(t.game() / "room0.txt",
           Encrypt(SplitLines(FromUtf8("РН y\n\nТ В\nв\n\nТ Г\nг\n")), CipherKind::Strong));
  EXPECT_EQ(Type("б"), Reply("б", "б"));
  EXPECT_EQ(Type("г"), "\r\n>  г \r\n\r\nг ");  // the file ends the block: no line break
  EXPECT_FALSE(std::filesystem::exists(t.work() / "temps.dat"));
}

TEST_F(TypedCommandTest, ExecutionCarriesOutScriptLinesAndPrintsTheRest) {
  t.Game("room1.txt",
         "РН x\nПС 20 = 3 + 5 > 1\n\nТ ВЗЯТЬ\nДа.\nД 3 -4 5\nСС\nСС\nСТ\nЛ 9\nДИ "
         "1\nКДИАЛ\nx\nГАММА 3\n\nД 9\n\n"
         "Т ДВАЖДЫ\nД -3\nД 3 10001 6\nДальше.\n");
  t.Set(4);
  EXPECT_EQ(Type("взять"), "\r\n>  взять \r\n\r\nДа. \r\nx \r\n");
  EXPECT_TRUE(t.p.conditions.Get(3) && !t.p.conditions.Get(4) && t.p.conditions.Get(5));
  EXPECT_FALSE(t.p.conditions.Get(9));
  EXPECT_EQ(t.p.colorScheme, Variant(3));  // replies go through the output writer
  EXPECT_EQ(t.p.character[1], Variant(2));
  EXPECT_EQ(t.p.character[2], Variant(1));
  EXPECT_TRUE(t.p.conditions.Get(20));  // changed conditions lead to a score pass
  EXPECT_FALSE(t.p.conditionsChanged);
  SetConditionsLine(t.p, "Д 3 -4 5 "_cp);
  EXPECT_FALSE(t.p.conditionsChanged);  // the same values again change nothing
  // A bad number spoils only its own line: reported, and the block goes on.
  EXPECT_EQ(Type("дважды"), "\r\n>  дважды \r\n\r\nДальше. ");
  EXPECT_EQ(t.platform.messages,
            std::vector<std::string>{"Ошибка в строке: \r\nД 3 10001 6 \r\n(комната №1)"});
  EXPECT_TRUE(t.p.conditions.Get(3) && !t.p.conditions.Get(6));
  EXPECT_FALSE(t.p.file.IsOpen());
}

TEST_F(TypedCommandTest, AMoveEndsTheBlockAfterItsPrompt) {
  t.Game("room1.txt", "РН x\n\nТ ИДТИ\nВы идете.\nИД 2\nне видно\nД 9\n");
  t.Game("room2.txt", "РН Двор\nМУКА = ПЫЛЬ\nОП\nТемно.\n");
  std::string prompted;
  t.platform.Then([&](Player& p) {
    prompted = ToUtf8(p.story.text);
    p.transitionWaiting = false;
  });
  Type("идти");
  EXPECT_EQ(prompted,
            "\r\n>  идти \r\n\r\nВы идете. \r\n>> Нажмите Enter для перехода в новую локацию...");
  EXPECT_EQ(t.Story(), "Темно.\r\n");
  EXPECT_EQ(t.p.location, Variant(2));
  EXPECT_EQ(t.p.synonymCount, 2);
  EXPECT_FALSE(t.p.conditions.Get(9));
}

// A move to a location whose file is missing names the line that moved there in both reports
// (the synonyms, which go on, and the description, which ends the game).
TEST_F(TypedCommandTest, AMoveToAMissingLocationNamesTheMovingLine) {
  t.Game("room1.txt", "РН x\n\nТ ИДТИ\nВы идете.\nИД 9\n");
  t.platform.Then([](Player& p) { p.transitionWaiting = false; });
  EXPECT_EQ(ExpectEnd([&] { Type("идти"); }), kExitAfterError);
  EXPECT_EQ(t.platform.scriptErrorPlaces, (std::vector<std::string>{"room1.txt:5", "room1.txt:5"}));
}

TEST_F(TypedCommandTest, TheAutomaticDialogueCommandIsNotEchoed) {
  t.Game("room1.txt", "ДИ 1\nОтвет.\n\n");
  t.p.commandLine = FromUtf8(" ДИАЛ АВТО ");
  OpenGameFile(t.p, "room1.txt");
  ReadScriptLine(t.p);
  RunCommandBlock(t.p);
  EXPECT_EQ(t.Story(), "\r\n\r\nОтвет. \r\n");
}

TEST_F(TypedCommandTest, EveryLineIsAMoveAndALogRecordAsTypedThenBlanksAreHalved) {
  t.Game("room1.txt", "РН x\n\nТ ВЗЯТЬ НОЖ\nвзято\n\n");
  t.Game("invent.txt", "");
  t.p.moves = 0;
  EXPECT_NE(Type("вещи ").find("> ИНВЕНТАРЬ"), std::string::npos);  // 2 blanks become 1
  EXPECT_EQ(Type("взять   нож"), "\r\n>  взять  нож \r\n\r\nвзято \r\n");
  EXPECT_TRUE(IsRefusal(Type("вещи  "), " вещи  "));
  EXPECT_TRUE(IsRefusal(Type("а     б"), " а   б "));
  EXPECT_TRUE(IsRefusal(Type(""), " "));
  EXPECT_EQ(ToUtf8(t.p.statusLabels[1].caption), "Ходы: 5, очки: 1.");
  EXPECT_EQ(ToUtf8(ReadRaw(t.work() / "logfile.txt")),
            "\" Поляна\",\" вещи  \"\r\n\" Поляна\",\" взять   нож \"\r\n"
            "\" Поляна\",\" вещи   \"\r\n\" Поляна\",\" а     б \"\r\n\" Поляна\",\"  \"\r\n");
}

TEST_F(TypedCommandTest, AnUnwritableLogIsReportedOnceAndPlayGoesOn) {
  std::filesystem::create_directories(t.work() / "logfile.txt");
  t.Game("room1.txt", "РН x\n\nТ ВЗЯТЬ\nвзято\n\n");
  EXPECT_EQ(Type("взять"), Reply("взять", "взято"));
  EXPECT_EQ(Type("взять"), Reply("взять", "взято"));
  EXPECT_EQ(t.platform.messages,
            std::vector<std::string>{"Не удалось записать журнал команд logfile.txt. Игра "
                                     "продолжается без записи журнала."});
}

TEST_F(TypedCommandTest, TalkVerbsAndTheAutomaticModeKeepLinesFromTheEntries) {
  t.Game("room1.txt", "РН x\n\nТ ДИАЛОГИ\nнет\n\nТ СЕСТЬ\nсели\n\n");
  // With no dialogue in the files, talk lines draw a refusal (the automatic command none).
  for (const char* line : {"поговорить с барменом", "Сесть за стол", "диалоги"})
    EXPECT_EQ(Type(line).rfind(std::string("\r\n>  ") + line + " \r\n", 0), 0u) << line;
  EXPECT_EQ(Type("ДИАЛ АВТО"), "");
  EXPECT_EQ(Type("сесть"), Reply("сесть", "сели"));
  t.p.autoDialogue = true;
  EXPECT_EQ(Type("сесть"), "");
}

TEST_F(TypedCommandTest, BrokenFilesAreReportedAndEndTheProgram) {
  const struct {
    const char *room, *message;
  } cases[] = {
      {"РН x\n\nТ ВЗЯТЬ\nЛ 10001\n", "Л 10001 "},
      {"РН x\n\nТ ВЗЯТЬ  НОЖ\n", "Т ВЗЯТЬ  НОЖ "},
      {"РН x\n", "РН x"},  // with no room0.txt
  };
  for (const auto& c : cases) {
    t.Game("room1.txt", c.room);
    if (std::string(c.message) == "РН x") std::filesystem::remove(t.game() / "room0.txt");
    t.platform.messages.clear();
    EXPECT_EQ(FatalReport(t.platform, [&] { Type("взять"); }),
              "Ошибка в строке: \r\n" + std::string(c.message) + "\r\n(комната №1)");
  }
}

TEST_F(TypedCommandTest, ReloadEntersTheLocationAgainAndThenOffersTheLine) {
  t.Game("room1.txt", "РН Поляна\nОП\nОписание.\n\nТ ПЕРЕГРУЗИТЬ\nснова\n\n");
  t.p.story.SetText("old");
  t.platform.Enter();
  Type("перегрузить  локацию");
  EXPECT_EQ(t.Story(), "Описание.\r\n\r\n" + Reply("перегрузить локацию", "снова"));
}

TEST_F(TypedCommandTest, BuiltInFormsEchoTheirFixedWord) {
  t.Game("room1.txt", "РН x\nОП\nОписание.\n\nТ ОСМОТРЕТЬСЯ\nнет\n\nТ ВЗЯТЬ ВЕЩИ\nвзято\n\n");
  for (const char* file : {"invent.txt", "zadan.txt", "hints.txt"}) t.Game(file, "");
  t.Game("author.txt", "А.\n");
  t.Game("keywords.txt", "К.\n");
  t.Game("rules.txt", "П.\n");
  t.Work("ifgames.txt", "С.\n");
  const std::string invent =
                        "ИНВЕНТАРЬ\r\n\r\nАвтор игры не предусмотрел возможность просмотра "
                        "инвентаря.",
                    tasks =
                        "ЗАДАНИЯ\r\n\r\nАвтор игры не предусмотрел возможность просмотра "
                        "заданий.",
                    hints =
                        "ПОДСКАЗКИ\r\n\r\nАвтор игры не предусмотрел возможность наличия "
                        "подсказок в игре.",
                    author = "АВТОР\r\n\r\nОб авторе игры:\r\nА.\r\n",
                    look = "ОСМОТРЕТЬСЯ\r\n\r\nОписание.\r\n\r\n",
                    rules = "ПОМОЩЬ\r\n\r\nПравила игры:\r\nП.\r\n";
  const std::pair<const char*, std::string> cases[] = {
      {"вещи", invent},
      {"Рюкзак", invent},
      {"ИНВЕНТАРЬ", invent},
      {"миссии", tasks},
      {"квесты", tasks},
      {"задания", tasks},
      {"коды", hints},
      {"подсказки", hints},
      {"об авторе", author},
      {"авторы", author},
      {"автор", author},
      {"описание", look},
      {"локация", look},
      {"осмотреться", look},
      {"о", look},
      {"об игре", rules},
      {"инструкции", rules},
      {"помощь", rules},
      {"ключевые слова", "КЛЮЧЕВЫЕ СЛОВА\r\n\r\nКлючевые слова:\r\nК.\r\n"},
      {"справка", "СПРАВКА\r\n\r\nОб Interactive Fiction:\r\nС.\r\n"},
  };
  for (const auto& [typed, shown] : cases) EXPECT_EQ(Type(typed), "\r\n> " + shown) << typed;
  EXPECT_EQ(Type("взять вещи"), Reply("взять вещи", "взято"));
  std::filesystem::remove(t.game() / "author.txt");
  EXPECT_EQ(Type("автор"),
            "\r\n> АВТОР\r\n\r\nОб авторе игры:\r\nВ этой игре нет файла author.txt.\r\n");
}

TEST_F(TypedCommandTest, TheDebugQueryTellsAConditionsValue) {
  t.Game("room1.txt", "РН x\n");
  t.Set(12);
  const std::pair<const char*, const char*> cases[] = {
      {"отладка 12", " Значение условия №12 равно ИСТИНА."},
      {"ОТЛАДКА 13", " Значение условия №13 равно ЛОЖЬ."},
      {"отладкаx", " Значение условия №0 равно ИСТИНА."},  // good points >= evil points
      {"отладка 20000", ""},
  };
  for (const auto& [typed, answer] : cases)
    EXPECT_EQ(Type(typed), "\r\n>  " + std::string(typed) + " \r\n" + answer);
  EXPECT_TRUE(IsRefusal(Type("отладочный"), " отладочный "));
}

// The blank tidying as first written: visit each position once, dropping the second of two
// blanks from the shortened line. Kept as the reference for the one-sweep version.
std::string ReferenceTidy(std::string s) {
  const std::size_t visits = s.empty() ? 0 : s.size() - 1;
  for (std::size_t k = 0; k < visits && k + 1 < s.size(); ++k)
    if (s[k] == ' ' && s[k + 1] == ' ') s.erase(k + 1, 1);
  return s;
}

TEST(TidyBlanksTest, HalvesEveryRunOfBlanksAsTheVisitingLoopDid) {
  std::mt19937 rng(20261208);
  const char alphabet[] = {' ', ' ', ' ', 'a', '\xE0', '-'};
  for (int round = 0; round < 3000; ++round) {
    std::string line(rng() % 40, ' ');
    for (char& c : line) c = alphabet[rng() % sizeof alphabet];
    std::string tidied = line;
    TidyBlanks(tidied);
    ASSERT_EQ(tidied, ReferenceTidy(line)) << '"' << line << '"';
  }
  std::string blanks(1001, ' ');
  TidyBlanks(blanks);
  EXPECT_EQ(blanks, std::string(501, ' '));
}

}  // namespace
}  // namespace mireval
