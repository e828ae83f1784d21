// The seal tool's window on Qt's offscreen platform: real widgets, real clicks.
#include "frontends/qt/seal/seal_window.h"

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

#include "base/cipher.h"
#include "base/lines.h"
#include "frontends/qt/seal/qt_seal_port.h"
#include "sealtool/recording_port.h"
#include "support/child_process.h"
#include "support/test_game.h"

namespace fs = std::filesystem;

namespace mireval::seal {
namespace {

class SealWindowTest : public ::testing::Test {
 protected:
  // Created on first use only, so that listing the tests needs no display.
  static void SetUpTestSuite() {
    // The window remembers its folder in the user's settings: the tests keep theirs apart.
    static TempDir settings;
    ::setenv("XDG_CONFIG_HOME", settings.path().c_str(), 1);
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
  SealWindow other(port, dir.path() / "user2");
  SealWindow own(port, dir.path() / "user" / "games");
  ::setenv("HOME", saved.c_str(), 1);
  EXPECT_EQ(other.driveBox->currentText(), "/");
  EXPECT_EQ(own.driveBox->currentText(), QString::fromStdString((dir.path() / "user").string()));
}

TEST_F(SealWindowTest, TheCheckBoxFollowsTheAnswerToTheQuestion) {
  QtSealPort real;
  SealWindow w(real, dir.path());
  real.SetParent(&w);
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  QStringList seen;
  AnswerNextBox(QMessageBox::No, &seen);
  Click(w.strongCheck);
  EXPECT_FALSE(w.strongCheck->isChecked());
  AnswerNextBox(QMessageBox::Yes, &seen);
  Click(w.strongCheck);
  EXPECT_TRUE(w.strongCheck->isChecked());
  EXPECT_TRUE(w.form().strongChecked);
  AnswerNextBox(QMessageBox::Yes, &seen);  // asked again on the way off; Yes keeps it on
  Click(w.strongCheck);
  EXPECT_TRUE(w.strongCheck->isChecked());
  ASSERT_EQ(seen.size(), 3);
  EXPECT_TRUE(seen[0].startsWith("Включить режим усиленного шифрования?"));
}

TEST_F(SealWindowTest, FolderButtonEncryptsTheChosenFolderSaysOkAndEnds) {
  WriteGameFile(dir.path() / "a" / "room1.txt", "РН x\n");
  WriteRaw(dir.path() / "a" / "main.txt", "x");
  SealWindow w(port, dir.path());
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  EXPECT_EQ(w.strongCheck->text(), "Усиленное шифрование.");
  EXPECT_EQ(w.encryptFolderButton->text(), "Зашифровать директорию");
  EXPECT_EQ(w.decryptFolderButton->text(), "Расшифровать директорию");
  EXPECT_EQ(Items(w.folderList), (QStringList{"..", "a"}));
  w.folderList->setCurrentRow(1);
  QTest::keyClick(w.folderList, Qt::Key_Return);
  EXPECT_EQ(Items(w.fileList), QStringList{"room1.txt"});
  QTest::mouseClick(w.encryptFolderButton, Qt::LeftButton);
  EXPECT_EQ(port.Take(), (std::vector<std::string>{"box Ok", "end 0"}));
  EXPECT_EQ(SplitLines(ReadRaw(dir.path() / "a" / "room1.txt"))[0],
            MarkerLine(CipherKind::Ordinary));
}

// Keyboard alone: Tab walks the controls in reading order, Enter opens a folder and scrambles a
// file; every control has a name for screen readers; each run is listed in the window, already
// while its message is shown; the folder is remembered for the next start.
TEST_F(SealWindowTest, KeyboardNamesOutcomeListAndTheRememberedFolder) {
  WriteGameFile(dir.path() / "a" / "room1.txt", "РН x\n");
  WriteRaw(dir.path() / "a" / "main.txt", "x");
  struct WatchingPort : RecordingPort {
    QListWidget* list = nullptr;
    std::vector<int> linesAtBox;
    void MessageBox(const std::string& text) override {
      linesAtBox.push_back(list ? list->count() : -1);
      RecordingPort::MessageBox(text);
    }
  } watching;
  SealWindow w(watching, dir.path());
  watching.list = w.outcomeList;
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  w.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));

  for (QWidget* control : std::initializer_list<QWidget*>{w.driveBox, w.folderList, w.fileList,
                                                          w.outcomeList, w.folderLabel})
    EXPECT_FALSE(control->accessibleName().isEmpty()) << control->metaObject()->className();
  w.driveBox->setFocus();
  for (QWidget* next : std::initializer_list<QWidget*>{w.folderList, w.fileList, w.strongCheck,
                                                       w.encryptFolderButton, w.decryptFolderButton,
                                                       w.outcomeList}) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), next) << next->metaObject()->className();
  }

  w.folderList->setFocus();
  w.folderList->setCurrentRow(1);
  QTest::keyClick(w.folderList, Qt::Key_Return);
  ASSERT_EQ(Items(w.fileList), QStringList{"room1.txt"});
  EXPECT_EQ(SealWindow::RememberedFolder("/"), dir.path() / "a");
  w.fileList->setFocus();
  w.fileList->setCurrentRow(0);
  QTest::keyClick(w.fileList, Qt::Key_Return);
  EXPECT_EQ(watching.Take(),
            (std::vector<std::string>{"box Локация успешно зашифрована!", "beep"}));
  EXPECT_EQ(Items(w.outcomeList), QStringList{"Зашифрован: room1.txt"});
  EXPECT_EQ(watching.linesAtBox, std::vector<int>{1});

  fs::remove_all(dir.path() / "a");
  EXPECT_EQ(SealWindow::RememberedFolder("/fallback"), "/fallback");
}

TEST_F(SealWindowTest, TheListsTakeTheRoomOfALargerWindow) {
  SealWindow w(port, dir.path());
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  w.resize(w.minimumSize());
  QApplication::processEvents();
  const QSize small = w.fileList->size();
  w.resize(1200, 900);
  QApplication::processEvents();
  EXPECT_GT(w.fileList->width(), small.width());
  EXPECT_GT(w.fileList->height(), small.height());
  for (QWidget* c : w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (c->isVisible()) {
      EXPECT_TRUE(w.rect().contains(c->geometry())) << c->metaObject()->className();
    }
}

TEST(Mirseal, ArgumentsRunWithoutAWindow) {
  TempDir dir;
  WriteGameFile(dir.path() / "room1.txt", "РН x\n");
  const ChildRun run = RunChild({MIRSEAL_PATH, "--encrypt", dir.path().string()},
                                {.unsetEnv = {"DISPLAY", "QT_QPA_PLATFORM"}, .errToOut = true});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "encrypted " + dir.path().string() + "/room1.txt\n");
  EXPECT_EQ(RunChild({MIRSEAL_PATH, "--nothing"}).status, 2);
}

}  // namespace
}  // namespace mireval::seal
