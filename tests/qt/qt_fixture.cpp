#include "qt_fixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <ctime>

#include "base/files.h"
#include "script/game_files.h"

namespace mireval {

namespace {
// Dialog answerers still waiting when their test ends must not answer the next test's dialogs.
std::vector<QPointer<QTimer>>& Pollers() {
  static std::vector<QPointer<QTimer>> pollers;
  return pollers;
}
}  // namespace

WindowTest::WindowTest() : p(platform, root.path() / "work") {
  std::filesystem::create_directories(work());
  std::filesystem::create_directories(game());
  SetGameFolder(p, game());
}

WindowTest::~WindowTest() {
  for (QPointer<QTimer>& poll : Pollers()) delete poll.data();
  Pollers().clear();
  platform.SetWindow(nullptr);
  window.reset();
  if (platform.Ending()) {
    // Ending asks Qt to leave every event loop, and Qt keeps refusing to enter one (dialogs
    // included) until the application's own loop has run once more.
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
  }
}

void WindowTest::Picture(const std::string& name, QSize size, QColor colour) {
  QImage picture(size, QImage::Format_RGB32);
  picture.fill(colour);
  ASSERT_TRUE(picture.save(QString::fromStdString((game() / name).string()), "PNG"));
}

void WindowTest::Open(Seams seams) {
  window = std::make_unique<MainWindow>(p, platform, std::move(seams));
  platform.SetWindow(window.get());
  window->show();
  QApplication::setActiveWindow(window.get());
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
}

std::shared_ptr<SeenDialog> AnswerNextDialog(std::function<void(QWidget*)> answer) {
  auto seen = std::make_shared<SeenDialog>();
  auto* poll = new QTimer;
  Pollers().push_back(poll);
  poll->setInterval(10);
  QObject::connect(poll, &QTimer::timeout, [poll, seen, answer] {
    QWidget* dialog = QApplication::activeModalWidget();
    if (!dialog) return;
    poll->stop();
    poll->deleteLater();
    seen->shown = true;
    seen->title = dialog->windowTitle();
    if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
      seen->text = box->text();
      seen->informativeText = box->informativeText();
    }
    if (auto* input = qobject_cast<QInputDialog*>(dialog)) seen->text = input->labelText();
    answer(dialog);
  });
  poll->start();
  return seen;
}

void PressButton(QWidget* dialog, const QString& caption) {
  for (QAbstractButton* b : dialog->findChildren<QAbstractButton*>()) {
    if (b->text() == caption) {
      b->click();
      return;
    }
  }
  ADD_FAILURE() << "no button " << caption.toStdString();
  dialog->close();
}

void Type(QWidget* w, const QString& text) {
  for (QChar c : text) QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), {});
}

double CpuSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

}  // namespace mireval
