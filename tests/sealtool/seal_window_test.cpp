// The seal tool's window on Qt's offscreen platform: real widgets, real clicks.
#include "frontends/qt/seal/form1.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <memory>

#include "engine/cipher.h"
#include "engine/lines.h"
#include "frontends/qt/seal/qt_seal_port.h"
#include "sealtool/recording_port.h"
#include "support/test_game.h"

namespace fs = std::filesystem;

namespace mireval {
namespace {

class SealWindowTest : public ::testing::Test {
 protected:
  // Created on first use only, so that listing the tests needs no display.
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "seal_window_tests";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QApplication>(argc, argv);
  }
  static void TearDownTestSuite() { app_.reset(); }

  void Click(QListWidget* list, const QString& text) {
    QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << text.toStdString();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(found[0]).center());
  }
  // On the box itself: the widget is wider than its label, and a click beside it does nothing.
  static void Click(QCheckBox* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
  }
  static QStringList Items(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
  }

  static std::unique_ptr<QApplication> app_;
  TempDir dir;
  RecordingPort port;
};
std::unique_ptr<QApplication> SealWindowTest::app_;

// Answers the next modal message box with `button` once it is open; its text goes to `seen`.
void AnswerNextBox(QMessageBox::StandardButton button, QStringList* seen, int triesLeft = 300) {
  QTimer::singleShot(10, [button, seen, triesLeft] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) {
      if (triesLeft > 0)
        AnswerNextBox(button, seen, triesLeft - 1);
      else
        ADD_FAILURE() << "no message box opened";
      return;
    }
    seen->append(box->text());
    if (QAbstractButton* b = box->button(button))
      b->click();
    else
      box->reject();
  });
}

TEST_F(SealWindowTest, ShowsTheControlsAndTheMatchingFiles) {
  WriteRaw(dir.path() / "room2.txt", "x");
  WriteRaw(dir.path() / "Invent.TXT", "x");
  WriteRaw(dir.path() / "main.txt", "x");
  fs::create_directories(dir.path() / "sub");
  Form1 w(port, dir.path());
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  EXPECT_EQ(w.Check1->text(), "Усиленное шифрование.");
  EXPECT_EQ(w.Command2->text(), "Зашифровать директорию");
  EXPECT_EQ(w.Command1->text(), "Расшифровать директорию");
  EXPECT_FALSE(w.Label1->text().isEmpty());
  EXPECT_FALSE(w.Check1->isChecked());
  EXPECT_EQ(Items(w.File1), (QStringList{"Invent.TXT", "room2.txt"}));
  EXPECT_EQ(Items(w.Dir1), (QStringList{"..", "sub"}));
  EXPECT_EQ(w.Drive1->itemText(0), "/");
}

TEST_F(SealWindowTest, ClickingAFileEncryptsItAndTheWindowStays) {
  WriteGameFile(dir.path() / "room1.txt", "РН x\n");
  Form1 w(port, dir.path());
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  Click(w.File1, "room1.txt");
  EXPECT_EQ(port.Take(), (std::vector<std::string>{"box Локация успешно зашифрована!", "beep"}));
  EXPECT_EQ(SplitLines(ReadRaw(dir.path() / "room1.txt"))[0], MarkerLine(CipherKind::Ordinary));
  EXPECT_TRUE(w.isVisible());
}

TEST_F(SealWindowTest, TheCheckBoxFollowsTheAnswer) {
  Form1 w(port, dir.path());
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  port.answers = {true, false};
  Click(w.Check1);
  EXPECT_TRUE(w.Check1->isChecked());
  EXPECT_TRUE(w.form().Check1);
  Click(w.Check1);
  EXPECT_FALSE(w.Check1->isChecked());
  EXPECT_EQ(port.Take(), (std::vector<std::string>{kStrongQuestionLog, kStrongQuestionLog}));

  // The same through the real question box, answered by the test.
  QtSealPort real;
  Form1 v(real, dir.path());
  real.SetParent(&v);
  v.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&v));
  QStringList seen;
  AnswerNextBox(QMessageBox::No, &seen);
  Click(v.Check1);
  EXPECT_FALSE(v.Check1->isChecked());
  AnswerNextBox(QMessageBox::Yes, &seen);
  Click(v.Check1);
  EXPECT_TRUE(v.Check1->isChecked());
  EXPECT_TRUE(v.form().Check1);
  ASSERT_EQ(seen.size(), 2);
  EXPECT_TRUE(seen[1].startsWith("Включить режим усиленного шифрования?"));
}

TEST_F(SealWindowTest, FolderButtonEncryptsStronglySaysOkAndEnds) {
  WriteGameFile(dir.path() / "a" / "room1.txt", "РН x\n");
  QStringList seen;
  int ended = -1;
  QtSealPort real(nullptr, [&ended](int status) { ended = status; });
  Form1 w(real, dir.path());
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  w.Dir1->setCurrentItem(w.Dir1->findItems("a", Qt::MatchExactly).at(0));
  QTest::keyClick(w.Dir1, Qt::Key_Return);
  EXPECT_EQ(Items(w.File1), QStringList{"room1.txt"});
  AnswerNextBox(QMessageBox::Yes, &seen);
  Click(w.Check1);
  AnswerNextBox(QMessageBox::Ok, &seen);
  QTest::mouseClick(w.Command2, Qt::LeftButton);
  EXPECT_EQ(seen.last(), "Ok");
  EXPECT_EQ(ended, 0);
  EXPECT_EQ(SplitLines(ReadRaw(dir.path() / "a" / "room1.txt"))[0], MarkerLine(CipherKind::Strong));
}

TEST(Mirseal, ArgumentsRunWithoutAWindow) {
  TempDir dir;
  WriteGameFile(dir.path() / "room1.txt", "РН x\n");
  std::string cmd = "env -u DISPLAY -u QT_QPA_PLATFORM '" MIRSEAL_PATH "' --encrypt '" +
                    dir.path().string() + "' > '" + (dir.path() / "out").string() + "' 2>&1";
  int rc = std::system(cmd.c_str());
  EXPECT_EQ(WEXITSTATUS(rc), 0);
  EXPECT_EQ(ReadRaw(dir.path() / "out"), "encrypted " + dir.path().string() + "/room1.txt\n");
  rc = std::system(("'" MIRSEAL_PATH "' --nothing 2>/dev/null"));
  EXPECT_EQ(WEXITSTATUS(rc), 2);
}

}  // namespace
}  // namespace mireval
