// The window as the player meets it: typing, clicking answers and words, the picture panel, the
// layouts, fonts and colours, and the waits.
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <chrono>

#include "engine/report.h"
#include "engine/text.h"
#include "frontends/qt/play/fonts.h"
#include "frontends/qt/play/story_view.h"
#include "presentation/media.h"
#include "presentation/output.h"
#include "qt_fixture.h"
#include "shell/startup.h"
#include "shell/word_columns.h"

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
  window->Run([&] { Form_Load(p); });
  EXPECT_EQ(window->windowTitle(), U("Миревал"));
  EXPECT_EQ(Find<QPlainTextEdit>("T")->toPlainText(), U("Добро пожаловать\nв Миревал\n"));
  EXPECT_EQ(Find<QLabel>("Label1_4")->text(), U("Миревал 2.0"));
  EXPECT_FALSE(Find<QWidget>("Picture1")->isVisible());
  EXPECT_FALSE(Find<QPushButton>("Command1_0")->isVisible());
  EXPECT_EQ(window->focusWidget(), Find<QLineEdit>("Text2"));
}

TEST_F(WindowTest, StoryIsSerifAndTheInputLineSans) {
  Open();
  const QStringList serif = {"Times New Roman", "Liberation Serif", "DejaVu Serif"};
  const QStringList sans = {"MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans",
                            "DejaVu Sans"};
  EXPECT_TRUE(serif.contains(QFontInfo(Find<QPlainTextEdit>("T")->font()).family()))
      << QFontInfo(Find<QPlainTextEdit>("T")->font()).family().toStdString();
  EXPECT_TRUE(sans.contains(QFontInfo(Find<QLineEdit>("Text2")->font()).family()));
  // A face that is nowhere to be found quietly gives way to one of the same kind.
  QFont missing = PickFont({"No Such Face"}, QFont::Serif, 12);
  EXPECT_NE(QFontInfo(missing).family(), U("No Such Face"));
  EXPECT_FALSE(QFontInfo(missing).family().isEmpty());
}

TEST_F(WindowTest, TypedCommandReachesTheEngineAndTheWindowFollows) {
  Open();
  auto* text2 = Find<QLineEdit>("Text2");
  Type(text2, U("цветовая гамма 5"));
  EXPECT_EQ(ToUtf8(p.Text2.text), "цветовая гамма 5");
  QTest::keyClick(text2, Qt::Key_Return);
  EXPECT_EQ(text2->text(), QString());
  EXPECT_EQ(Color(Find<QPlainTextEdit>("T"), QPalette::Base), QColor(128, 0, 0));
  EXPECT_EQ(Color(Find<QPlainTextEdit>("T"), QPalette::Text), QColor(255, 192, 192));
  EXPECT_EQ(Color(text2, QPalette::Base), QColor(128, 0, 0));
  EXPECT_EQ(Color(Find<QLabel>("Label1_0"), QPalette::Window), QColor(128, 0, 0));
  EXPECT_EQ(Color(Find<QLabel>("Label1_4"), QPalette::WindowText), QColor(255, 192, 192));
  EXPECT_EQ(Color(Find<QPushButton>("Command1_7"), QPalette::Button), QColor(255, 192, 192));
  EXPECT_EQ(Color(Find<QWidget>("Dir1"), QPalette::Base), QColor(128, 0, 0));
  // Scheme 7 gives the buttons the background colour.
  Type(text2, U("ЦВЕТОВАЯ ГАММА 7"));
  QTest::keyClick(text2, Qt::Key_Enter);
  EXPECT_EQ(Color(Find<QPushButton>("Command1_0"), QPalette::Button), QColor(224, 224, 224));
  // The word columns keep their own colours.
  EXPECT_EQ(Color(Find<QListWidget>("List1_0"), QPalette::Base), QColor(255, 255, 255));
}

TEST_F(WindowTest, TheInputLineHoldsOnlyWhatTheEngineCanRead) {
  Open();
  auto* text2 = Find<QLineEdit>("Text2");
  Type(text2, U("ключ 日本"));
  EXPECT_EQ(text2->text(), U("ключ ??"));
  EXPECT_EQ(ToUtf8(p.Text2.text), "ключ ??");
}

TEST_F(WindowTest, KeysInTheStoryAreaOnlyMoveTheFocus) {
  Open();
  auto* story = Find<QPlainTextEdit>("T");
  auto* text2 = Find<QLineEdit>("Text2");
  story->setFocus();
  EXPECT_EQ(p.focus, Focus::Story);
  QTest::keyClick(story, Qt::Key_A, Qt::NoModifier);
  EXPECT_EQ(window->focusWidget(), text2);
  EXPECT_EQ(text2->text(), QString());  // the key itself is swallowed
  QTest::keyClick(text2, Qt::Key_B);
  EXPECT_EQ(text2->text(), U("b"));

  p.Command1[0].visible = true;  // answers are showing
  window->Sync();
  story->setFocus();
  QTest::keyClick(story, Qt::Key_C);
  EXPECT_EQ(window->focusWidget(), Find<QLineEdit>("Text1"));
  // Page keys type nothing and still scroll the story.
  story->setFocus();
  QTest::keyClick(story, Qt::Key_PageDown);
  EXPECT_EQ(window->focusWidget(), story);
}

TEST_F(WindowTest, AnswerButtonsFillTheirSlotsAndReportTheirIndex) {
  std::vector<int> clicked;
  Seams seams = EngineSeams();
  seams.answerClicked = [&](Player&, int i) { clicked.push_back(i); };
  Open(seams);
  // Two answers, as the dialogue scan lays them out: four slots of 62.5 from 346 down.
  p.T.height = kStoryDialogueHeight;
  const char* captions[] = {"<Закончить диалог>", "Здравствуйте!", "Tom & Jerry"};
  for (int i = 0; i < 3; ++i) {
    Button& b = p.Command1[static_cast<std::size_t>(i)];
    b.visible = true;
    b.caption = FromUtf8(captions[i]);
    b.top = static_cast<float>(346 + 250.0 * (i == 0 ? 2 : i - 1) / 4);
    b.height = static_cast<float>(250.0 / 4);
  }
  p.focus = Focus::Text1;
  window->Sync();

  EXPECT_EQ(Find<QPlainTextEdit>("T")->geometry(), QRect(0, 44, 789, 296));
  auto* first = Find<QPushButton>("Command1_1");
  auto* second = Find<QPushButton>("Command1_2");
  auto* close = Find<QPushButton>("Command1_0");
  EXPECT_EQ(first->geometry().top(), 346);
  EXPECT_EQ(first->geometry().bottom() + 1, second->geometry().top());  // no gap, no overlap
  EXPECT_EQ(second->geometry().bottom() + 1, close->geometry().top());
  EXPECT_EQ(close->geometry().bottom() + 1, 534);  // 533.5 rounded
  EXPECT_EQ(first->geometry().width(), 560);
  EXPECT_EQ(second->text(), U("Tom && Jerry"));  // shown with its ampersand
  EXPECT_FALSE(Find<QPushButton>("Command1_3")->isVisible());

  QTest::mouseClick(second, Qt::LeftButton);
  QTest::mouseClick(close, Qt::LeftButton);
  EXPECT_EQ(clicked, (std::vector<int>{2, 0}));
  EXPECT_EQ(window->focusWidget(), Find<QLineEdit>("Text1"));  // clicks leave the focus there
}

TEST_F(WindowTest, EnterInTheFocusHolderEndsATransitionWait) {
  Open();
  p.EnterReady = false;
  p.Text2.SetText("осталось"_cp);
  p.focus = Focus::Text1;
  window->Sync();
  QTest::keyClick(Find<QLineEdit>("Text1"), Qt::Key_Return);
  EXPECT_TRUE(p.EnterReady);
  EXPECT_EQ(Find<QLineEdit>("Text2")->text(), QString());
}

TEST_F(WindowTest, ClickedWordsGoIntoTheInputLine) {
  Open();
  p.List1[0].items = {"взять"_cp, "открыть"_cp};
  p.List1[1].items = {"ключ"_cp};
  ArrangeLayout(p);
  window->Sync();
  auto* k1 = Find<QListWidget>("List1_0");
  auto* k2 = Find<QListWidget>("List1_1");
  ASSERT_TRUE(k1->isVisible());
  ASSERT_EQ(k1->count(), 2);
  EXPECT_EQ(k1->item(1)->text(), U("открыть"));

  QTest::mouseClick(k1->viewport(), Qt::LeftButton, {}, k1->visualItemRect(k1->item(0)).center());
  QTest::mouseClick(k2->viewport(), Qt::LeftButton, {}, k2->visualItemRect(k2->item(0)).center());
  QTest::mouseClick(k1->viewport(), Qt::LeftButton, {}, k1->visualItemRect(k1->item(0)).center());
  EXPECT_EQ(Find<QLineEdit>("Text2")->text(), U("взять  ключ"));
  EXPECT_EQ(window->focusWidget(), Find<QLineEdit>("Text2"));
}

TEST_F(WindowTest, BothLayoutsInPixelsAndThePicturePanelInTwips) {
  Open();
  auto* story = Find<QPlainTextEdit>("T");
  EXPECT_EQ(story->geometry(), QRect(0, 44, 789, 395));
  EXPECT_EQ(Find<QLabel>("Label1_1")->geometry().left(), 608);
  EXPECT_EQ(Find<QPushButton>("Command3")->geometry().left(), 756);  // 11340 twips
  EXPECT_EQ(Find<QLabel>("Image3")->geometry().left(), 80);          // 1200 twips
  EXPECT_EQ(Find<QLabel>("Image3")->geometry().width(), 591);        // 8865 twips
  EXPECT_FALSE(Find<QListWidget>("List1_0")->isVisible());

  p.List1[1].items = {"слово"_cp};
  ArrangeLayout(p);
  window->Sync();
  EXPECT_EQ(story->geometry().width(), 560);
  EXPECT_EQ(Find<QLineEdit>("Text2")->geometry().width(), 560);
  EXPECT_EQ(Find<QLabel>("Label1_2")->geometry(), QRect(189, 22, 163, 20));
  EXPECT_EQ(Find<QLabel>("Label1_1")->geometry(), QRect(352, 22, 211, 20));
  EXPECT_EQ(Find<QWidget>("Picture3")->geometry().width(), 561);
  EXPECT_EQ(Find<QPushButton>("Command3")->geometry().left(), 534);  // 8010 twips
  EXPECT_EQ(Find<QLabel>("Image3")->geometry().left(), 0);
  EXPECT_EQ(Find<QLabel>("Image3")->geometry().width(), 521);  // 7815 twips
  EXPECT_TRUE(Find<QListWidget>("List1_0")->isVisible());
}

TEST_F(WindowTest, PicturesInNaturalSizeStretchedOrReported) {
  QImage picture(40, 30, QImage::Format_RGB32);
  picture.fill(QColor(10, 200, 30));
  ASSERT_TRUE(picture.save(QString::fromStdString((game() / "pic.png").string()), "PNG"));
  WriteRaw(game() / "bad.png", "not a picture at all");
  Open();
  auto* panel = Find<QWidget>("Picture3");
  auto* image = Find<QLabel>("Image3");

  window->Run([&] { ShowKartinka(p, "КАР 3 pic.png"_cp); });
  ASSERT_TRUE(panel->isVisible());
  EXPECT_TRUE(image->hasScaledContents());
  EXPECT_EQ(image->size(), QSize(591, 393));  // the picture takes the image control's size
  EXPECT_EQ(image->pixmap().size(), QSize(40, 30));

  window->Run([&] { ShowKartinka(p, "КАР 2 PIC.PNG"_cp); });  // names are found in any case
  EXPECT_FALSE(image->hasScaledContents());
  EXPECT_EQ(image->size(), QSize(40, 30));
  EXPECT_EQ(image->pixmap().toImage().pixelColor(5, 5), QColor(10, 200, 30));

  QTest::mouseClick(Find<QPushButton>("Command3"), Qt::LeftButton);
  EXPECT_FALSE(panel->isVisible());
  EXPECT_EQ(window->focusWidget(), Find<QPlainTextEdit>("T"));

  auto seen = AnswerNextDialog([](QWidget* d) { PressButton(d, "OK"); });
  window->Run([&] { ShowKartinka(p, "КАР 2 bad.png"_cp); });
  EXPECT_TRUE(seen->shown);
  EXPECT_EQ(seen->text, U("Ошибка в строке КАР 2 bad.png локации "));
  EXPECT_EQ(seen->title, U("Миревал"));
  EXPECT_FALSE(panel->isVisible());
  EXPECT_FALSE(platform.Ending());
}

// Runs the output writer into its pause; `during` runs from the event loop while it waits.
void PauseWithin(MainWindow& window, Player& p, int afterMs, const std::function<void()>& during,
                 bool& finished) {
  p.SimvolCount = kPauseThreshold - 1;
  QTimer::singleShot(afterMs, during);
  window.Run([&] {
    p.T.Append("строка\r\n"_cp);
    WhP(p, "строка"_cp);
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
        promptShown = Find<QPlainTextEdit>("T")->toPlainText().endsWith(DisplayText(PausePrompt()));
        waiting = p.WaitKey;
        QTest::keyClick(Find<QLineEdit>("Text2"), Qt::Key_Return);
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
  EXPECT_EQ(Find<QPlainTextEdit>("T")->toPlainText(), U("строка\n"));
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
  window->Run([&] { p.Text2.SetText("x"); });
  EXPECT_EQ(p.Text2.text, "");
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
