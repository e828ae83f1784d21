// The modal dialogs of the port, answered the way a player would.
#include <QInputDialog>
#include <QLineEdit>
#include <QTest>

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

TEST_F(WindowTest, DialogsAreNotShownOnceTheProgramEnds) {
  Open();
  platform.RequestEnd(kExitNormal);
  EXPECT_THROW(platform.MessageBox("x"), ProgramExit);
  EXPECT_THROW(platform.AskYesNo("x"), ProgramExit);
  EXPECT_THROW(platform.PumpEvents(), ProgramExit);
}

}  // namespace
}  // namespace mireval
