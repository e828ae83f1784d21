// The seal tool's window on Qt's offscreen platform: real widgets, real clicks.
#include "frontends/qt/seal/form1.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
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

namespace mireval::seal {
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

// "/home/user2" does not lie on the drive "/home/user": whole names are compared.
TEST_F(SealWindowTest, TheDriveOfAFolderIsFoundByWholeNames) {
  fs::create_directories(dir.path() / "user" / "games");
  fs::create_directories(dir.path() / "user2");
  const char* home = std::getenv("HOME");
  const std::string saved = home ? home : "";
  ::setenv("HOME", (dir.path() / "user").c_str(), 1);
  Form1 other(port, dir.path() / "user2");
  Form1 own(port, dir.path() / "user" / "games");
  ::setenv("HOME", saved.c_str(), 1);
  EXPECT_EQ(other.Drive1->currentText(), "/");
  EXPECT_EQ(own.Drive1->currentText(), QString::fromStdString((dir.path() / "user").string()));
}

TEST_F(SealWindowTest, TheCheckBoxFollowsTheAnswerToTheQuestion) {
  QtSealPort real;
  Form1 w(real, dir.path());
  real.SetParent(&w);
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  QStringList seen;
  AnswerNextBox(QMessageBox::No, &seen);
  Click(w.Check1);
  EXPECT_FALSE(w.Check1->isChecked());
  AnswerNextBox(QMessageBox::Yes, &seen);
  Click(w.Check1);
  EXPECT_TRUE(w.Check1->isChecked());
  EXPECT_TRUE(w.form().Check1);
  AnswerNextBox(QMessageBox::Yes, &seen);  // asked again on the way off; Yes keeps it on
  Click(w.Check1);
  EXPECT_TRUE(w.Check1->isChecked());
  ASSERT_EQ(seen.size(), 3);
  EXPECT_TRUE(seen[0].startsWith("Включить режим усиленного шифрования?"));
}

TEST_F(SealWindowTest, FolderButtonEncryptsTheChosenFolderSaysOkAndEnds) {
  WriteGameFile(dir.path() / "a" / "room1.txt", "РН x\n");
  WriteRaw(dir.path() / "a" / "main.txt", "x");
  Form1 w(port, dir.path());
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  EXPECT_EQ(w.Check1->text(), "Усиленное шифрование.");
  EXPECT_EQ(w.Command2->text(), "Зашифровать директорию");
  EXPECT_EQ(w.Command1->text(), "Расшифровать директорию");
  EXPECT_EQ(Items(w.Dir1), (QStringList{"..", "a"}));
  w.Dir1->setCurrentRow(1);
  QTest::keyClick(w.Dir1, Qt::Key_Return);
  EXPECT_EQ(Items(w.File1), QStringList{"room1.txt"});
  QTest::mouseClick(w.Command2, Qt::LeftButton);
  EXPECT_EQ(port.Take(), (std::vector<std::string>{"box Ok", "end 0"}));
  EXPECT_EQ(SplitLines(ReadRaw(dir.path() / "a" / "room1.txt"))[0],
            MarkerLine(CipherKind::Ordinary));
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
}  // namespace mireval::seal
