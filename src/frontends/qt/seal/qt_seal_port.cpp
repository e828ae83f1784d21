#include "frontends/qt/seal/qt_seal_port.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>

#include "base/text.h"

namespace mireval::seal {

QString QtText(const std::string& cp1251) {
  return QString::fromStdString(ToUtf8(cp1251));
}

QtSealPort::QtSealPort(QWidget* parent, std::function<void(int)> onEnd)
    : parent_(parent), onEnd_(std::move(onEnd)) {}

void QtSealPort::MessageBox(const std::string& text) {
  QMessageBox::information(parent_, QtText(SealCaptionText()), QtText(text));
}

bool QtSealPort::AskYesNo(const std::string& text) {
  // No is the default: Enter alone must not switch on a mode that cannot be undone.
  return QMessageBox::question(parent_, QtText(SealCaptionText()), QtText(text),
                               QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
}

void QtSealPort::Beep() {
  QApplication::beep();
}

void QtSealPort::EndProgram(int status) {
  if (onEnd_)
    onEnd_(status);
  else
    QCoreApplication::exit(status);
}

}  // namespace mireval::seal
