// The modal dialogs of the port, answered the way a player would.
#include <QInputDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "app/startup.h"
#include "base/text.h"
#include "qt_fixture.h"

namespace mireval {
namespace {

QString U(const char* utf8) {
  return QString::fromUtf8(utf8);
}

TEST_F(WindowTest, MessageBoxShowsLinesAndWaitsForOk) {
  Open();
  auto seen = AnswerNextDialog([](QWidget* d) { PressButton(d, "OK"); });
  platform.MessageBox("Первая строка\r\nвторая"_cp);
  ASSERT_TRUE(seen->shown);
  EXPECT_EQ(seen->text, U("Первая строка\nвторая"));
  EXPECT_EQ(seen->title, U("Миревал"));
}

TEST_F(WindowTest, YesNoQuestionGivesTheAnswerClicked) {
  Open();
  const std::string question = "Желаете ли сохранить свою игру перед уходом?"_cp;
  auto yes = AnswerNextDialog([](QWidget* d) { PressButton(d, U("Да")); });
  EXPECT_TRUE(platform.AskYesNo(question));
  EXPECT_EQ(yes->text, U("Желаете ли сохранить свою игру перед уходом?"));
  AnswerNextDialog([](QWidget* d) { PressButton(d, U("Нет")); });
  EXPECT_FALSE(platform.AskYesNo(question));
  // Closing the question without an answer counts as No.
  AnswerNextDialog([](QWidget* d) { d->close(); });
  EXPECT_FALSE(platform.AskYesNo(question));
}

TEST_F(WindowTest, EnterOnAQuestionGivesTheAnswerPreferred) {
  Open();
  auto enter = [](QWidget* d) { QTest::keyClick(d, Qt::Key_Return); };
  AnswerNextDialog(enter);
  EXPECT_FALSE(platform.AskYesNo("Загрузить?"_cp, Platform::Answer::No));
  AnswerNextDialog(enter);
  EXPECT_TRUE(platform.AskYesNo("Сохранить?"_cp));
}

TEST_F(WindowTest, InputDialogReturnsWhatWasTypedOrNothing) {
  Open();
  auto seen = AnswerNextDialog([](QWidget* d) {
    auto* input = qobject_cast<QInputDialog*>(d);
    ASSERT_NE(input, nullptr);
    EXPECT_EQ(input->textValue(), QString());  // no proposed answer
    input->setTextValue(U("Моя игра"));
    PressButton(d, "OK");
  });
  EXPECT_EQ(platform.InputBox("Введите имя для сохранения игры."_cp), "Моя игра"_cp);
  EXPECT_EQ(seen->title, U("Введите имя для сохранения игры."));
  EXPECT_EQ(seen->text, QString());

  AnswerNextDialog([](QWidget* d) {
    qobject_cast<QInputDialog*>(d)->setTextValue(U("не сохранять"));
    PressButton(d, U("Отмена"));
  });
  EXPECT_EQ(platform.InputBox("Введите имя для сохранения игры."_cp), "");
}

// A script error met in play names, under its message, the game file and line the author has to
// open.
class ScriptErrorBoxTest : public WindowTest {
 protected:
  // The game's main file and a common location that the test may replace.
  ScriptErrorBoxTest() { WriteGameFrame(game()); }
  // Starts the game of the game folder as the browser does and gives the Enter that the way into
  // location 1 waits for.
  void StartGame() {
    Open();
    QTimer enter;
    QObject::connect(&enter, &QTimer::timeout, [this] {
      if (p.transitionWaiting) QTest::keyClick(Find<QLineEdit>("input"), Qt::Key_Return);
    });
    enter.start(20);
    window->Run([&] { StartGameInFolder(p, game()); });
    ASSERT_EQ(p.location.Text(), "1");
  }
  // Types a command and presses Enter; a transition it starts is given its Enter too.
  void Play(const char* command) {
    auto* input = Find<QLineEdit>("input");
    QTimer enter;
    QObject::connect(&enter, &QTimer::timeout, [&] {
      if (p.transitionWaiting) QTest::keyClick(input, Qt::Key_Return);
    });
    enter.start(20);
    Type(input, U(command));
    QTest::keyClick(input, Qt::Key_Return);
  }
};

TEST_F(ScriptErrorBoxTest, AConditionNumberOutOfRangeInTheCommonLocation) {
  Game("room1.txt", "РН Поляна\nОП\nПоляна.\n");
  // The common location's entry, with a condition beyond any there is on its line 4.
  Game("room0.txt", "РН Общее\n\nТ ВЗЯТЬ\nЛ 99999\nвзято\n");
  StartGame();
  auto seen = AnswerNextDialog([](QWidget* d) { PressButton(d, "OK"); });
  Play("взять");
  ASSERT_TRUE(seen->shown);
  // The scan of an entry's lines quotes them with the blank it adds to each.
  EXPECT_EQ(seen->text, U("Ошибка в строке: \nЛ 99999 \n(комната №1)"));
  EXPECT_EQ(seen->informativeText, U("Файл\u00A0room0.txt,\u00A0строка\u00A04"));
  EXPECT_TRUE(platform.Ending());
  EXPECT_EQ(platform.ExitStatus(), kExitAfterError);
}

TEST_F(ScriptErrorBoxTest, AMissingLocationFileNamesTheLineThatLeadsThere) {
  Game("room1.txt", "РН Поляна\nОП\nПоляна.\n\nТ ИДТИ\nИД 9\nВы идёте.\n");
  StartGame();
  // The synonyms of location 9 cannot be read, and play goes on; its description cannot be read
  // either, and the program ends. Both point at the line that named the location.
  std::shared_ptr<SeenDialog> description;
  auto synonyms = AnswerNextDialog([&](QWidget* d) {
    description = AnswerNextDialog([](QWidget* next) { PressButton(next, "OK"); });
    PressButton(d, "OK");
  });
  Play("идти");
  ASSERT_TRUE(synonyms->shown);
  EXPECT_EQ(synonyms->text, U("Ошибка в строке: \nИД 9 \n(комната №9)"));
  EXPECT_EQ(synonyms->informativeText, U("Файл\u00A0room1.txt,\u00A0строка\u00A06"));
  ASSERT_TRUE(description && description->shown);
  EXPECT_EQ(description->text, U("Ошибка в строке: \nИД 9 "));
  EXPECT_EQ(description->informativeText, U("Файл\u00A0room1.txt,\u00A0строка\u00A06"));
  EXPECT_TRUE(platform.Ending());
  EXPECT_EQ(platform.ExitStatus(), kExitAfterError);
}

TEST_F(WindowTest, DialogsAreNotShownOnceTheProgramEnds) {
  Open();
  platform.RequestEnd(kExitNormal);
  EXPECT_THROW(platform.MessageBox("x"), ProgramExit);
  EXPECT_THROW(platform.AskYesNo("x"), ProgramExit);
  EXPECT_THROW(platform.PumpEvents(), ProgramExit);
}

}  // namespace
}  // namespace mireval
