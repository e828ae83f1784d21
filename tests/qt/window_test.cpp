// The window as the player meets it: typing, clicking answers and words, the picture pane, the
// layouts, fonts and colours, and the waits.
#include <QApplication>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <chrono>

#include "app/startup.h"
#include "base/text.h"
#include "frontends/qt/play/fonts.h"
#include "frontends/qt/play/story_view.h"
#include "frontends/qt/play/view_widgets.h"
#include "model/report.h"
#include "qt_fixture.h"
#include "view/colors.h"
#include "view/media.h"
#include "view/output.h"
#include "view/word_columns.h"

namespace mireval {
namespace {

QString U(const char* utf8) {
  return QString::fromUtf8(utf8);
}

QColor Color(QWidget* w, QPalette::ColorRole role) {
  return w->palette().color(role);
}

TEST_F(WindowTest, StartsWithTheCoverUnderItsTitle) {
  Work("obloz.txt", "Добро пожаловать\nв Миревал\n");
  Open();
  window->Run([&] { StartPlayer(p); });
  EXPECT_EQ(window->windowTitle(), U("Миревал"));
  EXPECT_EQ(window->accessibleName(), U("Миревал"));
  EXPECT_EQ(Find<QPlainTextEdit>("story")->toPlainText(), U("Добро пожаловать\nв Миревал\n"));
  EXPECT_EQ(Find<QLabel>("status_title")->text(), U("Миревал 2.0"));
  EXPECT_FALSE(Find<QWidget>("browser")->isVisible());
  EXPECT_FALSE(Find<QWidget>("answers")->isVisible());
  EXPECT_EQ(QApplication::focusWidget(), Find<QLineEdit>("input"));
}

TEST_F(WindowTest, StoryIsSerifAndTheInputLineSans) {
  Open();
  const QStringList serif = {"Times New Roman", "Liberation Serif", "DejaVu Serif"};
  const QStringList sans = {"MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans",
                            "DejaVu Sans"};
  EXPECT_TRUE(serif.contains(QFontInfo(Find<QPlainTextEdit>("story")->font()).family()))
      << QFontInfo(Find<QPlainTextEdit>("story")->font()).family().toStdString();
  EXPECT_TRUE(sans.contains(QFontInfo(Find<QLineEdit>("input")->font()).family()));
  // A face that is nowhere to be found quietly gives way to one of the same kind.
  QFont missing = PickFont({"No Such Face"}, QFont::Serif, 12);
  EXPECT_NE(QFontInfo(missing).family(), U("No Such Face"));
  EXPECT_FALSE(QFontInfo(missing).family().isEmpty());
}

TEST_F(WindowTest, AColourSchemeColoursTheWholeWindow) {
  Open();
  auto* input = Find<QLineEdit>("input");
  Type(input, U("цветовая гамма 5"));
  EXPECT_EQ(ToUtf8(p.input.text), "цветовая гамма 5");
  QTest::keyClick(input, Qt::Key_Return);
  EXPECT_EQ(input->text(), QString());
  const QColor back(128, 0, 0), text(255, 192, 192);
  EXPECT_EQ(Color(window.get(), QPalette::Window), back);
  EXPECT_EQ(Color(Find<QPlainTextEdit>("story"), QPalette::Base), back);
  EXPECT_EQ(Color(Find<QPlainTextEdit>("story"), QPalette::Text), text);
  EXPECT_EQ(Color(Find<QLabel>("status_location"), QPalette::WindowText), text);
  EXPECT_EQ(Color(Find<QPushButton>("answer_7"), QPalette::Button), text);
  EXPECT_EQ(Color(Find<QListWidget>("words_0"), QPalette::Base), back);
  EXPECT_EQ(Color(Find<QWidget>("folders"), QPalette::Base), back);
  EXPECT_EQ(Color(Find<QPlainTextEdit>("story")->verticalScrollBar(), QPalette::Window), back);
  EXPECT_EQ(Color(window->menuBar(), QPalette::ButtonText), text);
  EXPECT_EQ(Color(input, QPalette::Text), text);
  // Scheme 7 gives the buttons the background colour.
  Type(input, U("ЦВЕТОВАЯ ГАММА 7"));
  QTest::keyClick(input, Qt::Key_Enter);
  EXPECT_EQ(Color(Find<QPushButton>("answer_0"), QPalette::Button), QColor(224, 224, 224));
}

TEST_F(WindowTest, ThePlayersOwnColoursOutlastTheGamesSchemes) {
  Open();
  window->ChooseScheme(3);
  EXPECT_EQ(p.colorScheme.Number(), 3);  // the menu typed the game's own command
  window->SetOwnColours(true);
  window->Run([&] {
    p.colorScheme = 5;  // the game switches schemes
    ApplyColorScheme(p);
  });
  EXPECT_EQ(Color(window.get(), QPalette::Window), QColor(0, 0, 0));
  window->ChooseScheme(kHighContrastScheme);
  EXPECT_EQ(Color(Find<QPushButton>("answer_1"), QPalette::Button), QColor(255, 255, 0));
  EXPECT_EQ(Color(Find<QPlainTextEdit>("story"), QPalette::Text), QColor(255, 255, 255));
  window->SetOwnColours(false);
  EXPECT_EQ(Color(window.get(), QPalette::Window), QColor(128, 0, 0));
}

TEST_F(WindowTest, TheInputLineHoldsOnlyWhatTheEngineCanRead) {
  Open();
  auto* input = Find<QLineEdit>("input");
  Type(input, U("ключ 日本"));
  EXPECT_EQ(input->text(), U("ключ ??"));
  EXPECT_EQ(ToUtf8(p.input.text), "ключ ??");
}

// Two answers and the closing one, as the dialogue scan lays them out.
void ShowTwoAnswers(Player& p, const char* second = "Tom & Jerry") {
  p.story.height = kStoryDialogueHeight;
  const char* captions[] = {"<Закончить диалог>", "Здравствуйте!", second};
  for (int i = 0; i < 3; ++i) {
    Button& b = p.answers[static_cast<std::size_t>(i)];
    b.visible = true;
    b.caption = FromUtf8(captions[i]);
    b.top = static_cast<float>(346 + 250.0 * (i == 0 ? 2 : i - 1) / 4);
    b.height = static_cast<float>(250.0 / 4);
  }
  p.focus = Focus::AnswerPanel;
}

TEST_F(WindowTest, AnswersStackInOrderWithTheirNumbersAndTheStoryTakesTheRest) {
  std::vector<int> clicked;
  Seams seams = EngineSeams();
  seams.answerClicked = [&](Player&, int i) { clicked.push_back(i); };
  Open(seams);
  auto* story = Find<QPlainTextEdit>("story");
  const int fullHeight = story->height();
  ShowTwoAnswers(p);
  window->Sync();
  QApplication::processEvents();

  auto* first = Find<AnswerButton>("answer_1");
  auto* second = Find<AnswerButton>("answer_2");
  auto* close = Find<AnswerButton>("answer_0");
  EXPECT_EQ(first->Shown(), U("1. Здравствуйте!"));
  EXPECT_EQ(second->Shown(), U("2. Tom & Jerry"));  // shown with its ampersand
  EXPECT_EQ(close->accessibleName(), U("0. <Закончить диалог>"));
  EXPECT_LT(first->geometry().top(), second->geometry().top());
  EXPECT_LT(second->geometry().bottom(), close->geometry().top());
  EXPECT_FALSE(Find<QPushButton>("answer_3")->isVisible());
  // The band is as tall as its three buttons, and the story keeps the rest.
  const int band = Find<QWidget>("answers")->height();
  EXPECT_LE(band, first->height() + second->height() + close->height() + 2 * 2);
  EXPECT_EQ(story->height(), fullHeight - band - 4);

  QTest::mouseClick(second, Qt::LeftButton);
  QTest::mouseClick(close, Qt::LeftButton);
  EXPECT_EQ(clicked, (std::vector<int>{2, 0}));
  EXPECT_EQ(QApplication::focusWidget(), Find<QLineEdit>("input"));  // the keyboard stays put

  // A caption longer than the line wraps instead of running out of its button.
  ShowTwoAnswers(p, std::string(60, 'x').append(" ").append(std::string(60, 'y')).c_str());
  window->resize(700, 500);
  window->Sync();
  QApplication::processEvents();
  EXPECT_GT(second->height(), first->height());
  EXPECT_LE(second->geometry().right(), Find<QWidget>("answers")->width());
}

TEST_F(WindowTest, EnterWithNothingTypedDuringADialogueEndsATransitionWait) {
  Open();
  p.transitionWaiting = true;
  p.input.SetText("осталось"_cp);
  p.focus = Focus::AnswerPanel;
  window->Sync();
  QTest::keyClick(Find<QLineEdit>("input"), Qt::Key_Return);
  EXPECT_FALSE(p.transitionWaiting);
  EXPECT_EQ(Find<QLineEdit>("input")->text(), QString());
}

TEST_F(WindowTest, WordsGoIntoTheInputLineByClickOrByKey) {
  Open();
  p.wordColumns[0].items = {"взять"_cp, "открыть"_cp};
  p.wordColumns[1].items = {"ключ"_cp};
  ArrangeLayout(p);
  window->Sync();
  auto* k1 = Find<QListWidget>("words_0");
  auto* k2 = Find<QListWidget>("words_1");
  ASSERT_TRUE(k1->isVisible());
  ASSERT_EQ(k1->count(), 2);
  EXPECT_EQ(k1->item(1)->text(), U("открыть"));
  EXPECT_EQ(k1->accessibleName(), U("Слова 1"));

  QTest::mouseClick(k1->viewport(), Qt::LeftButton, {}, k1->visualItemRect(k1->item(0)).center());
  QTest::mouseClick(k2->viewport(), Qt::LeftButton, {}, k2->visualItemRect(k2->item(0)).center());
  QTest::mouseClick(k1->viewport(), Qt::LeftButton, {}, k1->visualItemRect(k1->item(0)).center());
  EXPECT_EQ(Find<QLineEdit>("input")->text(), U("взять  ключ"));
  EXPECT_EQ(QApplication::focusWidget(), Find<QLineEdit>("input"));

  p.input.SetText("");
  window->Sync();
  k1->setFocus();
  k1->setCurrentRow(1);
  QTest::keyClick(k1, Qt::Key_Return);
  EXPECT_EQ(Find<QLineEdit>("input")->text(), U("открыть "));
  k2->setFocus();
  k2->setCurrentRow(0);
  QTest::keyClick(k2, Qt::Key_Space);
  EXPECT_EQ(Find<QLineEdit>("input")->text(), U("открыть  ключ"));
}

TEST_F(WindowTest, TheNarrowLayoutPutsTheWordsBesideTheStoryInTheSameProportions) {
  Open();
  window->resize(1000, 700);
  QApplication::processEvents();
  auto* story = Find<QPlainTextEdit>("story");
  auto* input = Find<QLineEdit>("input");
  auto* place = Find<QLabel>("status_location");
  auto* character = Find<QLabel>("status_character");
  auto* moves = Find<QLabel>("status_moves");
  EXPECT_FALSE(Find<QWidget>("words")->isVisible());
  EXPECT_NEAR(character->width() / double(place->width()), 389 / 217.0, 0.05);
  const int wideStory = story->width();

  p.wordColumns[1].items = {"слово"_cp};
  ArrangeLayout(p);
  window->Sync();
  QApplication::processEvents();
  auto* words = Find<QWidget>("words");
  ASSERT_TRUE(words->isVisible());
  EXPECT_LT(story->width(), wideStory);
  EXPECT_GT(words->geometry().left(),
            story->mapTo(window.get(), QPoint(story->width(), 0)).x() - 1);
  EXPECT_EQ(input->width(), story->width());
  EXPECT_NEAR(moves->width() / double(character->width()), 211 / 163.0, 0.05);
}

TEST_F(WindowTest, PicturesFitTheirPaneBesideOrAboveTheStory) {
  Picture("pic.png", {40, 30}, QColor(10, 200, 30));
  Picture("wide.png", {3000, 1000}, QColor(200, 10, 30));
  WriteRaw(game() / "bad.png", "not a picture at all");
  Open();
  window->resize(1600, 900);
  QApplication::processEvents();
  auto* pane = Find<QWidget>("picture_pane");
  auto* image = Find<QLabel>("picture");
  auto* story = Find<QPlainTextEdit>("story");

  // Stretched: as large as the pane allows, in its own proportions.
  window->Run([&] { ShowPictureLine(p, "КАР 3 pic.png"_cp); });
  QApplication::processEvents();
  ASSERT_TRUE(pane->isVisible());
  EXPECT_EQ(image->accessibleName(), U("Картинка: pic.png"));
  QSize shown = image->pixmap().deviceIndependentSize().toSize();
  EXPECT_TRUE(std::abs(shown.width() - image->width()) <= 1 ||
              std::abs(shown.height() - image->height()) <= 1)
      << shown.width() << "x" << shown.height() << " in " << image->width() << "x"
      << image->height();
  EXPECT_NEAR(shown.width() / double(shown.height()), 4 / 3.0, 0.05);
  // Beside the story on a wide window: the story is still there to read.
  EXPECT_TRUE(story->isVisible());
  EXPECT_FALSE(pane->geometry().intersects(story->geometry()));
  EXPECT_LT(pane->geometry().right(), story->geometry().left());

  // Natural size: never enlarged; too large, shrunk to fit.
  window->Run([&] { ShowPictureLine(p, "КАР 2 PIC.PNG"_cp); });  // names are found in any case
  EXPECT_EQ(image->pixmap().deviceIndependentSize().toSize(), QSize(40, 30));
  EXPECT_EQ(image->pixmap().toImage().pixelColor(5, 5), QColor(10, 200, 30));
  window->Run([&] { ShowPictureLine(p, "КАР 2 wide.png"_cp); });
  QApplication::processEvents();
  shown = image->pixmap().deviceIndependentSize().toSize();
  EXPECT_NEAR(shown.width(), image->width(), 1);
  EXPECT_NEAR(shown.width() / double(shown.height()), 3.0, 0.05);

  // On a narrow window the picture goes above the story.
  window->resize(700, 700);
  QApplication::processEvents();
  EXPECT_LT(pane->geometry().bottom(), story->geometry().top());

  QTest::mouseClick(Find<QPushButton>("picture_close"), Qt::LeftButton);
  EXPECT_FALSE(pane->isVisible());
  EXPECT_EQ(QApplication::focusWidget(), Find<QLineEdit>("input"));

  auto seen = AnswerNextDialog([](QWidget* d) { PressButton(d, "OK"); });
  window->Run([&] { ShowPictureLine(p, "КАР 2 bad.png"_cp); });
  EXPECT_TRUE(seen->shown);
  EXPECT_EQ(seen->text, U("Ошибка в строке КАР 2 bad.png локации "));
  EXPECT_EQ(seen->title, U("Миревал"));
  EXPECT_FALSE(pane->isVisible());
  EXPECT_FALSE(platform.Ending());
}

// Runs the output writer into its pause; `during` runs from the event loop while it waits.
void PauseWithin(MainWindow& window, Player& p, int afterMs, const std::function<void()>& during,
                 bool& finished) {
  p.charactersSincePause = kPauseThreshold - 1;
  QTimer::singleShot(afterMs, during);
  window.Run([&] {
    p.story.Append("строка\r\n"_cp);
    WriteStoryLine(p, "строка"_cp);
    finished = true;
  });
}

TEST_F(WindowTest, ThePauseSleepsUntilEnter) {
  Open();
  bool finished = false, promptShown = false, waiting = false;
  const double cpuBefore = CpuSeconds();
  const auto start = std::chrono::steady_clock::now();
  PauseWithin(
      *window, p, 1000,
      [&] {
        promptShown =
            Find<QPlainTextEdit>("story")->toPlainText().endsWith(DisplayText(PausePrompt()));
        waiting = p.pauseWaiting;
        QTest::keyClick(Find<QLineEdit>("input"), Qt::Key_Return);
      },
      finished);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_TRUE(promptShown);
  EXPECT_TRUE(waiting);
  EXPECT_TRUE(finished);
  EXPECT_GE(seconds, 0.9);
  // A wait that spun would have burnt most of that second.
  EXPECT_LT(CpuSeconds() - cpuBefore, 0.3);
  EXPECT_EQ(Find<QPlainTextEdit>("story")->toPlainText(), U("строка\n"));
}

TEST_F(WindowTest, ThePictureClosesWhileAPauseWaitsAndThePauseStillWaits) {
  Picture("pic.png", {20, 20}, Qt::blue);
  Open();
  window->Run([&] { ShowPictureLine(p, "КАР 2 pic.png"_cp); });
  bool finished = false, closed = false, stillWaiting = false, storyShown = false;
  PauseWithin(
      *window, p, 100,
      [&] {
        storyShown = Find<QPlainTextEdit>("story")->isVisible();
        QTest::keyClick(Find<QLineEdit>("input"), Qt::Key_Escape);
        closed = !Find<QWidget>("picture_pane")->isVisible();
        stillWaiting = p.pauseWaiting;
        QTest::keyClick(Find<QLineEdit>("input"), Qt::Key_Return);
      },
      finished);
  EXPECT_TRUE(storyShown);  // the picture never hides the prompt
  EXPECT_TRUE(closed);
  EXPECT_TRUE(stillWaiting);
  EXPECT_TRUE(finished);
}

TEST_F(WindowTest, ClosingTheWindowDuringAWaitEndsTheProgramCleanly) {
  Open();
  bool finished = false;
  PauseWithin(
      *window, p, 100, [&] { window->close(); }, finished);
  EXPECT_FALSE(finished);  // the rest of the output never ran
  EXPECT_TRUE(platform.Ending());
  EXPECT_EQ(platform.ExitStatus(), kExitNormal);
  EXPECT_EQ(platform.WaitDepth(), 0);
  // Once ending, no further event reaches the engine.
  window->Run([&] { p.input.SetText("x"); });
  EXPECT_EQ(p.input.text, "");
}

TEST_F(WindowTest, AnErrorReportEndsTheProgramWithStatusThree) {
  Open();
  bool after = false;
  auto seen = AnswerNextDialog([](QWidget* d) { PressButton(d, "OK"); });
  window->Run([&] {
    ReportAndEnd(p, "Ошибка в строке: \r\nОП 5x\r\n(комната №1)"_cp);
    after = true;
  });
  EXPECT_FALSE(after);
  EXPECT_EQ(seen->text, U("Ошибка в строке: \nОП 5x\n(комната №1)"));
  EXPECT_TRUE(platform.Ending());
  EXPECT_EQ(platform.ExitStatus(), kExitAfterError);
}

}  // namespace
}  // namespace mireval
