// Playing by keyboard alone: where keys go after every kind of event, the number keys, the
// command history, zoom, and the questions that stand between the player and a lost game.
#include <QAccessible>
#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <deque>
#include <fstream>

#include "app/browser.h"
#include "app/save_load.h"
#include "app/startup.h"
#include "base/text.h"
#include "frontends/qt/play/view_widgets.h"
#include "qt_fixture.h"
#include "view/media.h"
#include "view/word_columns.h"

namespace mireval {
namespace {

namespace fs = std::filesystem;

QString U(const char* utf8) {
  return QString::fromUtf8(utf8);
}

// Keys as a keyboard sends them: to whatever has the focus now.
QWidget* Focused() {
  return QApplication::focusWidget();
}
void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  ASSERT_NE(Focused(), nullptr);
  QTest::keyClick(Focused(), key, modifiers);
}
void TypeHere(const QString& text) {
  ASSERT_NE(Focused(), nullptr);
  Type(Focused(), text);
}

class KeyboardTest : public WindowTest {
 protected:
  QLineEdit* input() { return Find<QLineEdit>("input"); }
  QPlainTextEdit* story() { return Find<QPlainTextEdit>("story"); }
};

TEST_F(KeyboardTest, NoKeystrokeIsLostWhateverHappenedBefore) {
  Picture("pic.png", {20, 20}, Qt::red);  // the ways a key used to get lost can all be tried
  Open();
  // After a picture is closed by its button, by Esc, and after a click into the story.
  window->Run([&] { ShowPictureLine(p, "КАР 2 pic.png"_cp); });
  QTest::mouseClick(Find<QPushButton>("picture_close"), Qt::LeftButton);
  TypeHere(U("в"));
  window->Run([&] { ShowPictureLine(p, "КАР 2 pic.png"_cp); });
  ASSERT_TRUE(Find<QWidget>("picture_pane")->isVisible());
  Press(Qt::Key_Escape);
  EXPECT_FALSE(Find<QWidget>("picture_pane")->isVisible());
  TypeHere(U("з"));
  QTest::mouseClick(story()->viewport(), Qt::LeftButton);
  TypeHere(U("я"));
  // A key typed while the story, a word or an answer has the keyboard still reaches the line.
  story()->setFocus();
  TypeHere(U("т"));
  p.wordColumns[0].items = {"взять"_cp};
  ArrangeLayout(p);
  window->Sync();
  Find<QListWidget>("words_0")->setFocus();
  TypeHere(U("ь"));
  EXPECT_EQ(input()->text(), U("взять"));
  EXPECT_EQ(ToUtf8(p.input.text), "взять");
  EXPECT_EQ(Focused(), input());

  // After a message closes, the keyboard is back in the line.
  auto seen = AnswerNextDialog([](QWidget* d) { PressButton(d, "OK"); });
  window->Run([&] { p.platform.MessageBox("Сообщение"_cp); });
  EXPECT_TRUE(seen->shown);
  EXPECT_EQ(window->focusWidget(), input());
  QApplication::setActiveWindow(window.get());  // as the desktop does when a dialog goes
  TypeHere(U(" ключ"));
  EXPECT_EQ(input()->text(), U("взять ключ"));
}

TEST_F(KeyboardTest, NumberKeysClickAnswersOnlyWhileTheLineIsEmpty) {
  std::vector<int> clicked;
  Seams seams = EngineSeams();
  seams.answerClicked = [&](Player&, int i) { clicked.push_back(i); };
  Open(seams);
  for (int i = 0; i <= 2; ++i) {
    Button& b = p.answers[static_cast<std::size_t>(i)];
    b.visible = true;
    b.caption = "ответ"_cp;
    b.top = i == 0 ? 500 : 340 + 50 * i;  // the closing answer comes last
  }
  p.focus = Focus::AnswerPanel;
  window->Sync();
  Press(Qt::Key_2);
  Press(Qt::Key_0);
  Press(Qt::Key_7);  // there is no seventh answer: the digit is typed
  EXPECT_EQ(clicked, (std::vector<int>{2, 0}));
  EXPECT_EQ(input()->text(), U("7"));
  Press(Qt::Key_1);  // the line is not empty any more
  EXPECT_EQ(input()->text(), U("71"));
  EXPECT_EQ(clicked.size(), 2u);
  // Tab reaches the answers in order; Enter and Space click them.
  input()->clear();
  p.input.SetText("");
  window->Sync();
  Press(Qt::Key_Tab);
  EXPECT_EQ(Focused(), Find<QPushButton>("answer_1"));
  Press(Qt::Key_Return);
  input()->setFocus();
  Press(Qt::Key_Tab);
  Press(Qt::Key_Tab);
  EXPECT_EQ(Focused(), Find<QPushButton>("answer_2"));
  Press(Qt::Key_Space);
  EXPECT_EQ(clicked, (std::vector<int>{2, 0, 1, 2}));
  // Without a dialogue a digit is only a digit.
  for (Button& b : p.answers) b.visible = false;
  window->Sync();
  input()->setFocus();
  Press(Qt::Key_1);
  EXPECT_EQ(input()->text(), U("1"));
  EXPECT_EQ(clicked.size(), 4u);
}

TEST_F(KeyboardTest, HistoryWalksTheCommandsOfThisRunAndPageKeysScrollTheStory) {
  Open();
  window->resize(700, 500);
  for (const char* command : {"север", "взять ключ", "север"}) {
    TypeHere(U(command));
    Press(Qt::Key_Return);
    p.input.SetText("");  // no game runs to take the command
    window->Sync();
  }
  TypeHere(U("осм"));
  Press(Qt::Key_Up);
  EXPECT_EQ(input()->text(), U("север"));
  Press(Qt::Key_Up);
  EXPECT_EQ(input()->text(), U("взять ключ"));
  EXPECT_EQ(ToUtf8(p.input.text), "взять ключ");
  Press(Qt::Key_Up);
  Press(Qt::Key_Up);  // the first one stays
  EXPECT_EQ(input()->text(), U("север"));
  Press(Qt::Key_Down);
  Press(Qt::Key_Down);
  Press(Qt::Key_Down);
  EXPECT_EQ(input()->text(), U("осм"));  // back to what was being typed

  std::string text;
  for (int i = 0; i < 300; ++i) text += "строка " + std::to_string(i) + "\r\n";
  p.story.SetText(FromUtf8(text));
  window->Sync();
  QScrollBar* bar = story()->verticalScrollBar();
  ASSERT_GT(bar->maximum(), 0);
  Press(Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(bar->value(), 0);
  Press(Qt::Key_PageDown);
  EXPECT_EQ(bar->value(), bar->pageStep());
  Press(Qt::Key_PageUp);
  EXPECT_EQ(bar->value(), 0);
  Press(Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(bar->value(), bar->maximum());
  EXPECT_EQ(Focused(), input());
}

TEST_F(KeyboardTest, ZoomGrowsEveryTextTogetherAndIsRemembered) {
  Open();
  const qreal story0 = story()->font().pointSizeF(), input0 = input()->font().pointSizeF();
  Press(Qt::Key_Plus, Qt::ControlModifier);
  Press(Qt::Key_Equal, Qt::ControlModifier);
  EXPECT_DOUBLE_EQ(window->Options().zoom, 1.2);
  EXPECT_NEAR(story()->font().pointSizeF(), story0 * 1.2, 0.01);
  EXPECT_NEAR(input()->font().pointSizeF(), input0 * 1.2, 0.01);
  EXPECT_NEAR(Find<QPushButton>("answer_1")->font().pointSizeF(), input0 * 1.2, 0.01);
  EXPECT_NEAR(Find<QListWidget>("words_0")->font().pointSizeF(), input0 * 1.2, 0.01);
  Press(Qt::Key_Minus, Qt::ControlModifier);
  EXPECT_DOUBLE_EQ(window->Options().zoom, 1.1);
  QWheelEvent wheel(QPointF(10, 10), story()->viewport()->mapToGlobal(QPointF(10, 10)), QPoint(),
                    QPoint(0, 120), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(story()->viewport(), &wheel);
  EXPECT_DOUBLE_EQ(window->Options().zoom, 1.2);

  // The next run starts at the same size; Ctrl+0 goes back to normal.
  window.reset();
  Open();
  EXPECT_DOUBLE_EQ(window->Options().zoom, 1.2);
  EXPECT_NEAR(story()->font().pointSizeF(), story0 * 1.2, 0.01);
  Press(Qt::Key_0, Qt::ControlModifier);
  EXPECT_DOUBLE_EQ(window->Options().zoom, 1.0);
  for (int i = 0; i < 40; ++i) Press(Qt::Key_Minus, Qt::ControlModifier);
  EXPECT_DOUBLE_EQ(window->Options().zoom, kMinZoom);
  window->SetZoom(1.0);
}

TEST_F(KeyboardTest, TheWindowRemembersItsSizeAndFullScreen) {
  Open();
  window->resize(900, 650);
  window.reset();
  Open();
  EXPECT_EQ(window->size(), QSize(900, 650));
  EXPECT_GE(window->minimumWidth(), 640);
  EXPECT_GE(window->minimumHeight(), 480);
  Press(Qt::Key_F11);
  EXPECT_TRUE(window->windowState() & Qt::WindowFullScreen);
  window.reset();
  Open();
  EXPECT_TRUE(window->windowState() & Qt::WindowFullScreen);
  Press(Qt::Key_F11);
  EXPECT_FALSE(window->windowState() & Qt::WindowFullScreen);
}

// A game that has started, so that leaving it asks first.
void StartGame(Player& p) {
  p.gameTitle = Variant("Проба"_cp);
  p.locationName = Variant("комната"_cp);
}

TEST_F(KeyboardTest, ClosingWithNoGameRunningAsksNothing) {
  Open();
  auto seen = AnswerNextDialog([&](QWidget* d) { d->close(); });
  window->close();
  QTest::qWait(50);
  EXPECT_FALSE(seen->shown);
  EXPECT_TRUE(platform.Ending());
}

TEST_F(KeyboardTest, ClosingDuringAGameAsksAndCancelOrEscKeepsPlaying) {
  Open();
  StartGame(p);
  auto seen = AnswerNextDialog([](QWidget* d) { PressButton(d, U("Отмена")); });
  window->close();
  EXPECT_EQ(seen->text, U("Желаете ли сохранить свою игру перед уходом?"));
  EXPECT_FALSE(platform.Ending());
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->focusWidget(), input());

  // Esc is the way back too, here and for the exit command typed in the line.
  AnswerNextDialog([](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); });
  window->close();
  EXPECT_FALSE(platform.Ending());
  seen = AnswerNextDialog([](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); });
  QApplication::setActiveWindow(window.get());
  TypeHere(U("выход"));
  Press(Qt::Key_Return);
  EXPECT_TRUE(seen->shown);
  EXPECT_FALSE(platform.Ending());
  EXPECT_EQ(window->focusWidget(), input());

  AnswerNextDialog([](QWidget* d) { PressButton(d, U("Нет")); });
  window->close();
  EXPECT_TRUE(platform.Ending());
}

TEST_F(KeyboardTest, ClosingWithYesSavesTheGameBeforeTheProgramEnds) {
  Open();
  StartGame(p);
  AnswerNextDialog([](QWidget* d) {
    // The name of the save is asked next.
    AnswerNextDialog([](QWidget* name) {
      Type(name->focusWidget(), U("перед уходом"));
      QTest::keyClick(name->focusWidget(), Qt::Key_Return);
    });
    PressButton(d, U("Да"));
  });
  window->close();
  EXPECT_TRUE(platform.Ending());
  EXPECT_TRUE(fs::exists(game() / ToUtf8("перед уходом.sav"_cp)));
}

TEST_F(KeyboardTest, StartingAnotherGameFromTheBrowserAsksFirst) {
  Game("main.txt", "");
  Open();
  StartGame(p);
  window->Run([&] { OpenGameDialog(p); });
  window->Run([&] { ChangeFolderPath(p, game()); });
  window->Sync();
  auto seen = AnswerNextDialog([](QWidget* d) { PressButton(d, U("Нет")); });
  QTest::mouseClick(Find<QPushButton>("startButton"), Qt::LeftButton);
  EXPECT_EQ(seen->text,
            U("Начать другую игру? Текущая игра будет прервана, несохранённые ходы пропадут."));
  EXPECT_EQ(ToUtf8(p.gameTitle.Text()), "Проба");  // still the game that was running
  EXPECT_TRUE(Find<QWidget>("browser")->isVisible());
}

// The demo from its first page to its last, the way a player without a mouse plays it: every
// step is a key sent to whatever has the keyboard. The steps are the walkthrough the terminal
// player's transcript is made from.
TEST_F(KeyboardTest, TheDemoCanBePlayedToItsEndWithTheKeyboardAlone) {
  platform.seed = 12;  // the seed of the transcript: the dam's random draw goes the same way
  fs::create_directory_symlink(DEMO_GAME_DIR, work() / "demo");
  Work("start.txt", "demo\n");
  Open();
  std::deque<std::string> steps;
  std::ifstream walkthrough(DEMO_WALKTHROUGH);
  for (std::string line; std::getline(walkthrough, line);) steps.push_back(line);
  ASSERT_GT(steps.size(), 50u);

  auto focusWords = [&](int column) {
    for (int i = 0; i < 40 && Focused() != Find<QWidget>(QStringLiteral("words_%1").arg(column));
         ++i)
      Press(Qt::Key_Tab);
  };
  // Each step schedules the next before it plays: a step that waits (a pause, a transition)
  // is still running while the steps after it are played inside its wait. The next key comes a
  // moment later, as a player's does, once a released wait has returned.
  int played = 0;
  bool finished = false;
  std::function<void()> next = [&] {
    if (steps.empty() || platform.Ending() || QApplication::activeModalWidget()) {
      finished = true;
      QCoreApplication::exit(0);
      return;
    }
    QTimer::singleShot(20, next);
    if (!Focused()) QApplication::setActiveWindow(window.get());
    const std::string step = steps.front();
    steps.pop_front();
    ++played;
    int a = 0, b = 0;
    // The script's own checks (/room, /expect, /condition) and state dumps are for mirterm.
    for (const char* terminalOnly : {"/state", "/room ", "/expect", "/condition "})
      if (step.rfind(terminalOnly, 0) == 0) return;
    if (step == "/picture close") {
      Press(Qt::Key_Escape);
    } else if (std::sscanf(step.c_str(), "/answer %d", &a) == 1) {
      Press(static_cast<Qt::Key>(Qt::Key_0 + a));
    } else if (std::sscanf(step.c_str(), "/word %d %d", &a, &b) == 2) {
      focusWords(a - 1);
      Press(Qt::Key_Home);
      for (int i = 1; i < b; ++i) Press(Qt::Key_Down);
      Press(Qt::Key_Return);
    } else {
      TypeHere(QString::fromStdString(step));
      Press(Qt::Key_Return);
    }
  };
  QTimer::singleShot(0, next);
  window->Run([&] { StartPlayer(p); });
  if (!finished) QCoreApplication::exec();

  EXPECT_TRUE(steps.empty()) << played << " steps played, next: " << steps.front();
  EXPECT_FALSE(platform.Ending());
  EXPECT_TRUE(story()->toPlainText().contains(U("Игра пройдена! Спасибо, что играли.")));
  EXPECT_EQ(window->windowTitle(), U("Старая мельница — Миревал"));
  EXPECT_EQ(window->accessibleName(), window->windowTitle());
  EXPECT_EQ(Find<QLabel>("status_moves")->text(), U("Ходы: 54, очки: 19."));
  EXPECT_EQ(Find<QLabel>("status_character")->text(), U("Характер: добро 3, зло 0 (добрый)."));
}

}  // namespace
}  // namespace mireval
