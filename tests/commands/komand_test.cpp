#include "commands/komand.h"

#include <gtest/gtest.h>

#include "commands/command_fixture.h"
#include "engine/cipher.h"
#include "engine/lines.h"

namespace mireval {
namespace {

using Selection = CommandTest;

TEST_F(Selection, TheReplyIsEchoedWithTheFramingBlanks) {
  t.Game("room1.txt", "РН x\n\nТ ВЗЯТЬ НОЖ\nВы взяли нож.\n\n");
  EXPECT_EQ(Type("взять нож"), "\r\n>  взять нож \r\n\r\nВы взяли нож. \r\n");
  EXPECT_EQ(t.p.Text2.text, "");
}

TEST_F(Selection, MoreWordsWinWhateverTheOrder) {
  t.Game("room1.txt", "РН x\n\nТ ВЗЯТЬ НОЖ\nA\n\nТ ВЗЯТЬ\nB\n\n");
  EXPECT_NE(Type("взять нож").find("A "), std::string::npos);
  t.Game("room1.txt", "РН x\n\nТ ВЗЯТЬ\nB\n\nТ ВЗЯТЬ НОЖ\nA\n\n");
  EXPECT_NE(Type("взять нож").find("A "), std::string::npos);
  EXPECT_NE(Type("взять").find("B "), std::string::npos);
}

TEST_F(Selection, MoreConditionsWinAndFailingConditionsRuleAnEntryOut) {
  t.Game("room1.txt", "РН x\n\nТ ВЗЯТЬ НОЖ\nЛ 5\nA\n\nТ ВЗЯТЬ НОЖ\nB\n\n");
  t.Set(5);
  EXPECT_NE(Type("взять нож").find("A "), std::string::npos);
  t.Set(5, false);
  EXPECT_NE(Type("взять нож").find("B "), std::string::npos);
  t.Game("room1.txt", "РН x\n\nТ ВЗЯТЬ НОЖ\nЛ 5 -6\nA\n\n");
  t.Set(5);
  t.Set(6);
  EXPECT_TRUE(IsRefusal(Type("взять нож"), " взять нож "));
  t.Set(6, false);
  EXPECT_NE(Type("взять нож").find("A "), std::string::npos);
}

TEST_F(Selection, TheLocationBeatsTheCommonFileAndLaterEntriesBeatEarlierOnes) {
  t.Game("room0.txt", "РН Общие\n\nТ СПАТЬ\nобщий\n\n");
  t.Game("room1.txt", "РН x\n\nТ СПАТЬ\nместный\n\n");
  EXPECT_NE(Type("спать").find("местный"), std::string::npos);
  t.Game("room1.txt", "РН x\n\nТ СПАТЬ\nпервый\n\nТ СПАТЬ\nвторой\n\n");
  EXPECT_NE(Type("спать").find("второй"), std::string::npos);
  t.Game("room1.txt", "РН x\n");
  EXPECT_NE(Type("спать").find("общий"), std::string::npos);
}

TEST_F(Selection, ALargeLocationNumberOutweighsAConditionOfTheCommonFile) {
  t.Game("room0.txt", "РН Общие\n\nТ СПАТЬ\nЛ 5\nобщий\n\n");
  t.Game("room150.txt", "РН x\n\nТ СПАТЬ\nместный\n\n");
  t.Game("room50.txt", "РН x\n\nТ СПАТЬ\nместный\n\n");
  t.Set(5);
  t.p.Room = 150;
  EXPECT_NE(Type("спать").find("местный"), std::string::npos);
  t.p.Room = 50;
  EXPECT_NE(Type("спать").find("общий"), std::string::npos);
}

TEST_F(Selection, OnlyAConditionsLineBeforeTheFirstSpecialLineCounts) {
  t.Game("room1.txt", "РН x\n\nТ ВЗЯТЬ\nтекст\nЛ 5\nA\n\n");
  EXPECT_TRUE(IsRefusal(Type("взять"), " взять "));
  t.Game("room1.txt", "РН x\n\nТ ВЗЯТЬ\nД 6\nЛ 5\nA\n\n");
  EXPECT_EQ(Type("взять"), "\r\n>  взять \r\n\r\nA \r\n");
  EXPECT_TRUE(t.p.Uslovie.Get(6));
}

TEST_F(Selection, ATextLineThatLooksLikeAHeadDoesNotShiftTheWinner) {
  // A description line starting with "Т " is no entry: the entry that matched is the one run.
  t.Game("room1.txt", "РН x\nОП\nТ ы не пройдешь\n\nТ ИДТИ\nвы идете\n\nТ СТОЯТЬ\nвы стоите\n\n");
  EXPECT_EQ(Type("идти"), "\r\n>  идти \r\n\r\nвы идете \r\n");
  EXPECT_EQ(Type("стоять"), "\r\n>  стоять \r\n\r\nвы стоите \r\n");
}

TEST_F(Selection, EntriesOfTheCommonFileAreFoundAgainAfterTheLocationsEntries) {
  t.Game("room1.txt", "РН x\n\nТ А\nа\n\nТ Б\nб\n\n");
  t.Game("room0.txt", "РН Общие\n\nТ В\nв\n\nТ Г\nг\n\n");
  EXPECT_EQ(Type("г"), "\r\n>  г \r\n\r\nг \r\n");
  EXPECT_EQ(Type("в"), "\r\n>  в \r\n\r\nв \r\n");
}

TEST_F(Selection, ScrambledFilesAreReadLikePlainOnesAndTheirCopyIsRemoved) {
  t.Game("room1.txt", "РН x\n");
  WriteRaw(t.game() / "room1.txt",
           Encrypt(SplitLines(FromUtf8("РН x\n\nТ ВЗЯТЬ\nЛ 5\nвзято\n\n")), CipherKind::Ordinary));
  WriteRaw(t.game() / "room0.txt",
           Encrypt(SplitLines(FromUtf8("РН Общие\n\nТ СПАТЬ\nсон\n")), CipherKind::Strong));
  t.Set(5);
  EXPECT_EQ(Type("взять"), "\r\n>  взять \r\n\r\nвзято \r\n");
  EXPECT_FALSE(std::filesystem::exists(t.work() / "temps.dat"));
  EXPECT_EQ(Type("спать"), "\r\n>  спать \r\n\r\nсон ");
  EXPECT_FALSE(std::filesystem::exists(t.work() / "temps.dat"));
  EXPECT_FALSE(t.p.TempUsed);
}

TEST_F(Selection, BrokenFilesAreReportedAndEndTheProgram) {
  t.Game("room1.txt", "РН x\n\nТ ВЗЯТЬ\nЛ 10001\nA\n\n");
  EXPECT_EQ(ExpectEnd([&] { Type("взять"); }), kExitAfterError);
  EXPECT_EQ(t.platform.messages.back(), "Ошибка в строке: \r\nЛ 10001 \r\n(комната №1)");

  t.Game("room1.txt", "РН x\n\nТ ВЗЯТЬ  НОЖ\nA\n\n");
  EXPECT_EQ(ExpectEnd([&] { Type("взять"); }), kExitAfterError);
  EXPECT_EQ(t.platform.messages.back(), "Ошибка в строке: \r\nТ ВЗЯТЬ  НОЖ \r\n(комната №1)");

  t.Game("room1.txt", "РН x\n");
  std::filesystem::remove(t.game() / "room0.txt");
  EXPECT_EQ(ExpectEnd([&] { Type("взять"); }), kExitAfterError);
  EXPECT_EQ(t.platform.messages.back(), "Ошибка в строке: \r\nРН x\r\n(комната №1)");

  WriteRaw(t.game() / "room0.txt", MarkerLine(CipherKind::Ordinary) + "\r\n209\r\n99999\r\n");
  EXPECT_EQ(ExpectEnd([&] { Type("взять"); }), kExitAfterError);
  EXPECT_FALSE(t.p.file.IsOpen());
}

using Processing = CommandTest;

TEST_F(Processing, EveryLineIsAMoveAndALogRecordAsTyped) {
  t.Game("room1.txt", "РН x\n");
  t.Game("invent.txt", "");
  t.p.Hody = 0;
  Type("вещи");
  Type("прыгнуть  выше");
  Type("");
  EXPECT_EQ(t.p.Hody, Variant(3));
  EXPECT_EQ(ToUtf8(t.p.Label1[1].caption), "Ходы: 3, очки: 1.");
  EXPECT_EQ(ToUtf8(ReadRaw(t.work() / "logfile.txt")),
            "\" Поляна\",\" вещи \"\r\n"
            "\" Поляна\",\" прыгнуть  выше \"\r\n"
            "\" Поляна\",\"  \"\r\n");
}

TEST_F(Processing, DoubledBlanksAreHalved) {
  t.Game("room1.txt", "РН x\n\nТ ВЗЯТЬ НОЖ\nвзято\n\n");
  EXPECT_EQ(Type("взять  нож"), "\r\n>  взять нож \r\n\r\nвзято \r\n");
  EXPECT_EQ(Type("взять   нож"), "\r\n>  взять  нож \r\n\r\nвзято \r\n");
  EXPECT_TRUE(IsRefusal(Type("а    б"), " а  б "));
  EXPECT_TRUE(IsRefusal(Type("а     б"), " а   б "));
  EXPECT_TRUE(IsRefusal(Type(""), " "));
}

TEST_F(Processing, AnUnwritableLogIsReportedOnceAndPlayGoesOn) {
  std::filesystem::create_directories(t.work() / "logfile.txt");  // cannot be appended to
  t.Game("room1.txt", "РН x\n\nТ ВЗЯТЬ\nвзято\n\n");
  EXPECT_EQ(Type("взять"), "\r\n>  взять \r\n\r\nвзято \r\n");
  EXPECT_EQ(Type("взять"), "\r\n>  взять \r\n\r\nвзято \r\n");
  EXPECT_EQ(t.platform.messages,
            std::vector<std::string>{
                "Не удалось записать журнал команд logfile.txt. Игра продолжается без записи "
                "журнала."});
  EXPECT_EQ(t.p.Hody, Variant(2));
}

TEST_F(Processing, TalkVerbsNeverReachTheEntries) {
  t.Game("room1.txt", "РН x\n\nТ ПОГОВОРИТЬ\nнет\n\nТ СЕСТЬ\nнет\n\nТ ДИАЛОГИ\nнет\n\n");
  for (const char* line : {"поговорить с барменом", "Сесть за стол", "диалог", "диалоги",
                           "ДИАЛ АВТО", "говорить", "разговор"}) {
    EXPECT_EQ(Type(line), "") << line;
  }
  EXPECT_EQ(t.p.Hody, Variant(7));
  EXPECT_EQ(Type("сесть"), "\r\n>  сесть \r\n\r\nнет \r\n");
}

TEST_F(Processing, AutomaticDialogueModeTakesOrdinaryCommands) {
  t.Game("room1.txt", "РН x\n\nТ ВЗЯТЬ\nвзято\n\n");
  t.p.DialAvto = true;
  EXPECT_EQ(Type("взять"), "");
  t.Game("invent.txt", "");
  EXPECT_NE(Type("вещи").find("> ИНВЕНТАРЬ"), std::string::npos);  // built-ins still work
}

TEST_F(Processing, ReloadEntersTheLocationAgainAndThenOffersTheLine) {
  t.Game("room1.txt", "РН Поляна\nА = Б\nОП\nОписание.\n\nТ ПЕРЕГРУЗИТЬ\nперегружено\n\n");
  t.p.T.SetText(FromUtf8("старое"));
  t.p.Command1[3].visible = true;
  t.platform.Enter();
  Type("перегрузить локацию");
  EXPECT_EQ(t.Story(), "Описание.\r\n\r\n\r\n>  перегрузить локацию \r\n\r\nперегружено \r\n");
  EXPECT_FALSE(t.p.Command1[3].visible);
  EXPECT_EQ(t.p.SinonimCount, 2);
  EXPECT_EQ(t.p.Room, Variant(1));
}

TEST_F(Processing, ReloadWithoutAnEntryEndsInARefusal) {
  t.Game("room1.txt", "РН Поляна\nОП\nОписание.\n");
  t.platform.Enter();
  Type("Перегрузить  локацию");  // two blanks become one
  const std::string description = "Описание.\r\n";
  ASSERT_EQ(t.Story().rfind(description, 0), 0u) << t.Story();
  EXPECT_TRUE(IsRefusal(t.Story().substr(description.size()), " Перегрузить локацию "));
}

using BuiltIns = CommandTest;

TEST_F(BuiltIns, EachFormEchoesItsFixedWord) {
  t.Game("room1.txt", "РН x\nОП\nОписание.\n\nТ ОСМОТРЕТЬСЯ\nнет\n\n");
  t.Game("invent.txt", "");
  t.Game("zadan.txt", "");
  t.Game("hints.txt", "");
  t.Game("author.txt", "Автор.\n");
  t.Game("keywords.txt", "Слова.\n");
  t.Game("rules.txt", "Правила.\n");
  t.Work("ifgames.txt", "Справка.\n");
  const std::string noInvent =
      "\r\n> ИНВЕНТАРЬ\r\n\r\nАвтор игры не предусмотрел возможность просмотра инвентаря.";
  const std::string noTasks =
      "\r\n> ЗАДАНИЯ\r\n\r\nАвтор игры не предусмотрел возможность просмотра заданий.";
  const std::string noHints =
      "\r\n> ПОДСКАЗКИ\r\n\r\nАвтор игры не предусмотрел возможность наличия подсказок в игре.";
  const std::string look = "\r\n> ОСМОТРЕТЬСЯ\r\n\r\nОписание.\r\n\r\n";
  const std::string author = "\r\n> АВТОР\r\n\r\nОб авторе игры:\r\nАвтор.\r\n";
  const std::string rules = "\r\n> ПОМОЩЬ\r\n\r\nПравила игры:\r\nПравила.\r\n";
  const std::pair<const char*, std::string> cases[] = {
      {"вещи", noInvent},
      {"Рюкзак", noInvent},
      {"ИНВЕНТАРЬ", noInvent},
      {"вещи ", noInvent},
      {"миссии", noTasks},
      {"квесты", noTasks},
      {"задания", noTasks},
      {"коды", noHints},
      {"подсказки", noHints},
      {"об авторе", author},
      {"авторы", author},
      {"автор", author},
      {"описание", look},
      {"локация", look},
      {"осмотреться", look},
      {"о", look},
      {"ключевые слова", "\r\n> КЛЮЧЕВЫЕ СЛОВА\r\n\r\nКлючевые слова:\r\nСлова.\r\n"},
      {"об игре", rules},
      {"инструкции", rules},
      {"помощь", rules},
      {"справка", "\r\n> СПРАВКА\r\n\r\nОб Interactive Fiction:\r\nСправка.\r\n"},
  };
  for (const auto& [typed, expected] : cases) EXPECT_EQ(Type(typed), expected) << typed;
}

TEST_F(BuiltIns, OnlyTheWholeLineIsABuiltIn) {
  t.Game("room1.txt", "РН x\n\nТ ВЗЯТЬ ВЕЩИ\nвзято\n\n");
  t.Game("invent.txt", "");
  EXPECT_EQ(Type("взять вещи"), "\r\n>  взять вещи \r\n\r\nвзято \r\n");
  EXPECT_TRUE(IsRefusal(Type("вещи  "), " вещи  "));
}

TEST_F(BuiltIns, TheDebugQueryTellsAConditionsValue) {
  t.Game("room1.txt", "РН x\n");
  t.Set(12);
  EXPECT_EQ(Type("отладка 12"), "\r\n>  отладка 12 \r\n Значение условия №12 равно ИСТИНА.");
  EXPECT_EQ(Type("ОТЛАДКА 13"), "\r\n>  ОТЛАДКА 13 \r\n Значение условия №13 равно ЛОЖЬ.");
  EXPECT_EQ(Type("отладка -1"), "\r\n>  отладка -1 \r\n Значение условия №-1 равно ЛОЖЬ.");
  // Condition 0 is true while the good points are not below the evil ones.
  EXPECT_EQ(Type("отладка"), "\r\n>  отладка \r\n Значение условия №0 равно ИСТИНА.");
  EXPECT_EQ(Type("отладкаx"), "\r\n>  отладкаx \r\n Значение условия №0 равно ИСТИНА.");
  EXPECT_EQ(Type("отладка 20000"), "\r\n>  отладка 20000 \r\n");
  EXPECT_TRUE(IsRefusal(Type("отладочный"), " отладочный "));
}

TEST_F(BuiltIns, AMissingScreenFileIsReportedAndEndsTheProgram) {
  t.Game("room1.txt", "РН x\n");
  EXPECT_EQ(ExpectEnd([&] { Type("вещи"); }), kExitAfterError);
  EXPECT_EQ(ExpectEnd([&] { Type("автор"); }), kExitAfterError);
  EXPECT_EQ(t.platform.messages.size(), 2u);
}

}  // namespace
}  // namespace mireval
