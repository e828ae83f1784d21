#include "frontends/qt/play/qt_platform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QInputDialog>
#include <QMessageBox>
#include <QStorageInfo>
#include <QUrl>
#include <algorithm>

#include "base/files.h"
#include "base/text.h"
#include "frontends/qt/play/main_window.h"
#include "frontends/qt/play/story_view.h"

namespace mireval {

namespace {

QString Title(const MainWindow* window) {
  return window ? window->DialogTitle() : QCoreApplication::applicationName();
}

}  // namespace

QtPlatform::QtPlatform() = default;
QtPlatform::~QtPlatform() = default;

void QtPlatform::ThrowIfEnding() const {
  if (ending_) throw ProgramExit{status_};
}

void QtPlatform::Draw() {
  if (window_) window_->Sync();
}

void QtPlatform::MessageBox(const std::string& text) {
  ShowMessage(text, {});
}

void QtPlatform::ShowScriptError(const std::string& text, const std::string& place) {
  ShowMessage(text, place);
}

void QtPlatform::ShowMessage(const std::string& text, const std::string& place) {
  ThrowIfEnding();
  Draw();
  QMessageBox box(QMessageBox::NoIcon, Title(window_), DisplayText(text), QMessageBox::Ok, window_);
  box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
  // Under the message rather than behind Qt's details button, whose caption is not translated;
  // bound by no-break spaces, so that the file name and its line stay together.
  if (const std::size_t colon = place.rfind(':'); colon != std::string::npos) {
    box.setInformativeText(
        QString::fromUtf8("Файл\u00A0%1,\u00A0строка\u00A0%2")
            .arg(DisplayText(place.substr(0, colon)), DisplayText(place.substr(colon + 1))));
  }
  box.exec();
}

bool QtPlatform::AskYesNo(const std::string& text, Answer preferred) {
  ThrowIfEnding();
  Draw();
  QMessageBox box(QMessageBox::Question, Title(window_), DisplayText(text),
                  QMessageBox::Yes | QMessageBox::No, window_);
  box.button(QMessageBox::Yes)->setText(QString::fromUtf8("Да"));
  box.button(QMessageBox::No)->setText(QString::fromUtf8("Нет"));
  box.setDefaultButton(preferred == Answer::Yes ? QMessageBox::Yes : QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

Platform::Choice QtPlatform::AskYesNoCancel(const std::string& text) {
  ThrowIfEnding();
  Draw();
  QMessageBox box(QMessageBox::Question, Title(window_), DisplayText(text),
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, window_);
  box.button(QMessageBox::Yes)->setText(QString::fromUtf8("Да"));
  box.button(QMessageBox::No)->setText(QString::fromUtf8("Нет"));
  box.button(QMessageBox::Cancel)->setText(QString::fromUtf8("Отмена"));
  box.setDefaultButton(QMessageBox::Yes);
  box.setEscapeButton(QMessageBox::Cancel);
  switch (box.exec()) {
    case QMessageBox::Yes:
      return Choice::Yes;
    case QMessageBox::No:
      return Choice::No;
    default:
      return Choice::Cancel;
  }
}

std::string QtPlatform::InputBox(const std::string& title) {
  ThrowIfEnding();
  Draw();
  QInputDialog dialog(window_);
  dialog.setWindowTitle(DisplayText(title));
  dialog.setLabelText(QString());
  dialog.setTextValue(QString());
  dialog.setOkButtonText(QStringLiteral("OK"));
  dialog.setCancelButtonText(QString::fromUtf8("Отмена"));
  if (dialog.exec() != QDialog::Accepted) return "";
  return FromUtf8(dialog.textValue().toStdString());
}

void QtPlatform::PumpEvents() {
  ThrowIfEnding();
  Draw();
  ++waitDepth_;
  QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  --waitDepth_;
  ThrowIfEnding();
}

void QtPlatform::ProcessPendingEvents() {
  ThrowIfEnding();
  Draw();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  ThrowIfEnding();
}

void QtPlatform::RequestEnd(int status) {
  if (!ending_) {
    ending_ = true;
    status_ = status;
  }
  QCoreApplication::exit(status_);
}

void QtPlatform::EndProgram(int status) {
  RequestEnd(status);
  throw ProgramExit{status_};
}

void QtPlatform::Beep() {
  QApplication::beep();
}

void QtPlatform::OpenUrl(const std::string& url) {
  QDesktopServices::openUrl(QUrl(QString::fromStdString(ToUtf8(url))));
}

bool QtPlatform::PictureSize(const std::filesystem::path& file, int& width, int& height) {
  measured_ = ReadPicture(file);
  measuredFile_ = file;
  if (measured_.isNull()) return false;
  width = measured_.width();
  height = measured_.height();
  return true;
}

QImage QtPlatform::TakePicture(const std::filesystem::path& file) {
  QImage image = file == measuredFile_ && !measured_.isNull() ? measured_ : ReadPicture(file);
  measured_ = QImage();
  measuredFile_.clear();
  return image;
}

double QtPlatform::ClockSeed() {
  return static_cast<double>(QDateTime::currentMSecsSinceEpoch()) / 1000.0;
}

// The drive list of a Unix desktop: the root, the home folder and the mounted volumes that hold
// files (the kernel's own file systems are left out). The browser's engine side and its window
// both take it from here, so the place chosen is the place shown.
std::vector<std::string> QtPlatform::DriveRoots() {
  std::vector<std::string> drives = {"/"};
  if (QDir::homePath() != "/") drives.push_back(PathText(QDir::homePath().toStdString()));
  for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
    if (!v.isValid() || !v.isReady()) continue;
    QString root = v.rootPath();
    if (root.startsWith("/proc") || root.startsWith("/sys") || root.startsWith("/dev") ||
        root.startsWith("/run"))
      continue;
    if (root != "/") drives.push_back(PathText(root.toStdString()));
  }
  std::sort(drives.begin() + 1, drives.end());
  drives.erase(std::unique(drives.begin(), drives.end()), drives.end());
  return drives;
}

}  // namespace mireval
