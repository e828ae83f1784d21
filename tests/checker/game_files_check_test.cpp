// mircheck on small games written for each kind of mistake: the finding, its file and its line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/cipher.h"
#include "base/text.h"
#include "checker/game_check.h"
#include "support/temp_files.h"

namespace mireval::check {
namespace {

namespace fs = std::filesystem;
using Places = std::vector<std::string>;

// A game that mircheck finds nothing wrong with but the missing side files; each test writes over
// the file its mistake goes into.
class SmallGame : public ::testing::Test {
 protected:
  SmallGame() {
    Write("main.txt", "Текстовый квест\nИгра\n3\n");
    Write("room0.txt", "РН Общее\n");
    Write("room1.txt", "РН Комната\nОП\nКомната.\n\nТ ЖДАТЬ\nВы ждете.\n\n");
    for (const char* side : {"invent.txt", "zadan.txt", "hints.txt", "author.txt", "rules.txt",
                             "keywords.txt", "intro.txt"})
      Write(side, "");
  }
  void Write(const std::string& name, const std::string& utf8) {
    WriteGameFile(dir_.path() / name, utf8);
  }

  // "file:line" of every finding with this code and severity.
  Places Where(const std::string& code, Severity severity = Severity::Error) {
    findings_ = CheckGame(dir_.path()).Sorted();
    Places out;
    for (const Finding& f : findings_)
      if (f.code == code && f.severity == severity)
        out.push_back(ToUtf8(f.file) + ":" + std::to_string(f.line));
    return out;
  }
  std::string Shown() const {
    std::string out;
    for (const Finding& f : findings_) out += FindingLine(f) + "\n";
    return out;
  }

  TempDir dir_;
  std::vector<Finding> findings_;
};

TEST_F(SmallGame, AGoodGameHasNothingToReport) {
  EXPECT_TRUE(CheckGame(dir_.path()).Sorted().empty()) << Shown();
}

TEST_F(SmallGame, TheMainFile) {
  Write("main.txt", "Текстовый квест \nИгра\n13\nдобро\nзло\n");
  EXPECT_EQ(Where("main-signature"), Places{"main.txt:1"}) << Shown();
  EXPECT_EQ(Where("color-scheme"), Places{"main.txt:3"}) << Shown();
  EXPECT_EQ(Where("main-vocabulary"), Places{"main.txt:5"}) << Shown();
  fs::remove(dir_.path() / "main.txt");
  EXPECT_EQ(Where("no-main-file"), Places{"main.txt:1"}) << Shown();
}

TEST_F(SmallGame, LocationFilesTheGameNeeds) {
  fs::remove(dir_.path() / "room0.txt");
  Write("room1.txt", "Комната\nТекст без ОП.\n\nТ ИДТИ\nИД 2\n\n");
  Write("room3.txt", "РН Чулан\nОП 5\nЧулан.\n\n");
  EXPECT_EQ(Where("missing-room"), (Places{"main.txt:1", "room1.txt:5"})) << Shown();
  EXPECT_EQ(Where("no-header"), Places{"room1.txt:1"}) << Shown();
  EXPECT_EQ(Where("no-description"), Places{"room1.txt:1"}) << Shown();
  EXPECT_EQ(Where("no-unconditional-description", Severity::Warning), Places{"room3.txt:1"});
  EXPECT_EQ(Where("unreachable-room", Severity::Warning), Places{"room3.txt:1"}) << Shown();
  EXPECT_EQ(Where("ignored-text", Severity::Warning), Places{"room1.txt:2"}) << Shown();
}

TEST_F(SmallGame, CommandEntries) {
  Write("room1.txt",
        "РН Комната\nОП\nКомната.\n\n"
        "Т ВЗЯТЬ  НОЖ\nНож.\n\n"                   // 5: two blanks
        "Т %\nНичего.\n\n"                         // 8: nothing to look for
        "Т СЕСТЬ\nД 3\nЛ 4\nВы сели.\n"            // 11: a conditions line after a setting one
        "ИД 1\nЭтого не видно.\n\n"                // 15, 16: after the move
        "Т СТОЯТЬ\nЛ одка у берега.\nОПАСНО!\n\n"  // 18..20: text read as conditions, as a
                                                   // description
        "ОП 3 4\nПосле.\n\n");                     // 22
  EXPECT_EQ(Where("empty-pattern-word"), Places{"room1.txt:5"}) << Shown();
  EXPECT_EQ(Where("pattern-word-too-short"), Places{"room1.txt:8"}) << Shown();
  EXPECT_EQ(Where("ignored-conditions", Severity::Warning), Places{"room1.txt:13"}) << Shown();
  EXPECT_EQ(Where("after-goto", Severity::Warning), Places{"room1.txt:16"}) << Shown();
  EXPECT_EQ(Where("marker-text", Severity::Warning), Places{"room1.txt:19"}) << Shown();
  EXPECT_EQ(Where("marker-text"), Places{"room1.txt:20"}) << Shown();
}

TEST_F(SmallGame, ConditionNumbers) {
  Write("room1.txt",
        "РН Комната\nОП\nКомната.\n\nОП 5а\nНе прочесть.\n\nОП 10001\nВне.\n\n"
        "Т ЖДАТЬ\nЛ 1234567\nД 20000\nВЕР 10002 50\nВы ждете.\n\n");
  EXPECT_EQ(Where("bad-condition"), (Places{"room1.txt:5", "room1.txt:12"})) << Shown();
  EXPECT_EQ(Where("condition-range"), (Places{"room1.txt:8", "room1.txt:13", "room1.txt:14"}))
      << Shown();
}

TEST_F(SmallGame, Dialogues) {
  std::string room = "РН Комната\nОП\nКомната.\n\nДИАЛ% ДЕД%\n";
  for (int i = 1; i <= 13; ++i) room += "ДИ 1\nОтвет " + std::to_string(i) + ".\n\n";  // 6..44
  room += "КДИАЛ\n\n";                                                                 // 45
  // 47..55: an answer with no caption, «ДИ» without its blank (a caption, not an answer), an
  // end line with a blank after it.
  room += "ДИАЛ% БАБ%\nДИ 1\nЛ 7\n\nДИ 2\nОтвет.\nДИ\n\nКДИАЛ \n";
  Write("room1.txt", room);
  EXPECT_EQ(Where("too-many-answers"), Places{"room1.txt:5"}) << Shown();
  EXPECT_EQ(Where("answer-without-text", Severity::Warning), Places{"room1.txt:48"}) << Shown();
  EXPECT_EQ(Where("answer-needs-blank", Severity::Warning), Places{"room1.txt:53"}) << Shown();
  EXPECT_EQ(Where("dialogue-end"), Places{"room1.txt:55"}) << Shown();

  EXPECT_EQ(Where("dialogue-unclosed"), Places{"room1.txt:47"}) << Shown();

  // A command right after a dialogue's end line is read as part of the dialogue.
  Write("room1.txt",
        "РН Комната\nОП\nКомната.\n\nДИАЛ% ДЕД%\nДИ 1\nДа.\n\nКДИАЛ\nТ ЖДАТЬ\nЖдем.\n\n");
  EXPECT_EQ(Where("missing-blank-line"), Places{"room1.txt:10"}) << Shown();
  EXPECT_TRUE(Where("dialogue-unclosed").empty()) << Shown();
}

TEST_F(SmallGame, ScoreVariablesAndEvents) {
  Write("room0.txt",
        "ПС 5 = 6 > 1\n"         // 1: the first line is the header's place
        "ПС = 3\n"               // 2: no condition number
        "ПС 7 = 8 + 9 > -2\n"    // 3: a negative threshold counts for nothing
        "СОБ 7 Событие.\n"       // 4: fires: a score variable computes 7
        "СОБ 07 Никогда.\n\n");  // 5: never matches a number
  Write("room1.txt", "РН Комната\nОП\nКомната.\n\nОП 7 8 9\nВсе.\n\nСОБ 12 Никогда.\n\n");
  EXPECT_EQ(Where("first-line", Severity::Warning), Places{"room0.txt:1"}) << Shown();
  EXPECT_EQ(Where("bad-score-line"), Places{"room0.txt:2"}) << Shown();
  EXPECT_EQ(Where("zero-threshold", Severity::Warning), Places{"room0.txt:3"}) << Shown();
  EXPECT_EQ(Where("bad-event-line", Severity::Warning), Places{"room0.txt:5"}) << Shown();
  EXPECT_EQ(Where("event-never-fires"), Places{"room1.txt:8"}) << Shown();
}

TEST_F(SmallGame, DirectivesAndTheFilesTheyName) {
  Write("pic.png", "");
  Write("room1.txt",
        "РН Комната\nОП\nКомната.\nКАР 2 PIC.PNG\nГАММА 13\n\n"  // found in any letter case
        "Т СЛУШАТЬ\nТишина.\nЗВУ нет.wav\nКАР x pic.png\nКАР 7 pic.png\nМУЗ \n\n");
  EXPECT_EQ(Where("missing-file"), Places{"room1.txt:9"}) << Shown();
  EXPECT_EQ(Where("color-scheme"), Places{"room1.txt:5"}) << Shown();
  EXPECT_EQ(Where("picture-mode"), Places{"room1.txt:10"}) << Shown();
  EXPECT_EQ(Where("picture-mode", Severity::Warning), Places{"room1.txt:11"}) << Shown();
}

TEST_F(SmallGame, ListFiles) {
  Write("invent.txt", "5\nНож\n\nПусто\n-100 7\n");
  EXPECT_EQ(Where("bad-condition"), Places{"invent.txt:3"}) << Shown();
  EXPECT_EQ(Where("list-incomplete"), Places{"invent.txt:5"}) << Shown();
  // 5 is shown only once set; -100 is the authors' "always".
  EXPECT_EQ(Where("condition-never-set", Severity::Warning), Places{"invent.txt:1"}) << Shown();
}

TEST_F(SmallGame, MissingSideFilesNameTheCommandThatNeedsThem) {
  fs::remove(dir_.path() / "rules.txt");
  EXPECT_EQ(Where("missing-side-file", Severity::Warning), Places{"main.txt:1"}) << Shown();
  EXPECT_NE(Shown().find("ПОМОЩЬ"), std::string::npos) << Shown();
}

// A scrambled file is checked in its plain text, at the lines of that text.
TEST_F(SmallGame, AScrambledFileIsCheckedAtItsPlainLines) {
  const std::vector<std::string> plain = {"РН Комната"_cp, "ОП"_cp,   "Комната."_cp, ""_cp,
                                          "Т ИДТИ"_cp,     "ИД 4"_cp, ""_cp};
  WriteRaw(dir_.path() / "room1.txt", Encrypt(plain, CipherKind::Strong));
  EXPECT_EQ(Where("missing-room"), Places{"room1.txt:6"}) << Shown();
}

TEST_F(SmallGame, FindingsAreSortedAsAuthorsNumberTheirFiles) {
  for (int room : {2, 10}) Write("room" + std::to_string(room) + ".txt", "РН X\nОП\nX.\n\n");
  const std::vector<Finding> found = CheckGame(dir_.path()).Sorted();
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].file, "room2.txt");
  EXPECT_EQ(found[1].file, "room10.txt");
  EXPECT_EQ(FindingsJson({{"a\"b.txt", 3, Severity::Warning, "c", "«т»"_cp}}),
            "{\"findings\":[{\"file\":\"a\\\"b.txt\",\"line\":3,\"severity\":\"warning\","
            "\"code\":\"c\",\"text\":\"«т»\"}],\"errors\":0,\"warnings\":1}");
}

// Hostile files end the check like any other: a table of synonyms too large for the player, and a
// block of ten thousand answers with no empty line between them, read once.
TEST_F(SmallGame, HugeFilesAreCheckedAtTheCostOfReadingThem) {
  std::string line = "А";
  for (int i = 0; i < 5000; ++i) line += " = Б";
  std::string answers = "ДИАЛ% ДЕД%\nЛ 1\n";
  for (int i = 0; i < 10000; ++i) answers += "ДИ 1\nЛ 1\nОтвет.\n";
  Write("room1.txt", "РН Комната\nОП\nКомната.\n\n" + line + "\n\n" + answers + "КДИАЛ\n\n");
  EXPECT_EQ(Where("synonym-table-full"), Places{"room1.txt:5"}) << Shown();
  EXPECT_EQ(Where("option-runs-on").size(), 9999u);
}

}  // namespace
}  // namespace mireval::check
