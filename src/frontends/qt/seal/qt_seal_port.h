// The seal tool's port on Qt: message boxes, the Yes/No question, the beep, the end of the program.
#pragma once

#include <functional>
#include <string>

#include "sealtool/seal_form.h"

class QString;
class QWidget;

namespace mireval::seal {

// Windows-1251 text for a Qt widget.
QString QtText(const std::string& cp1251);

class QtSealPort : public SealPort {
 public:
  // Dialogs are modal over `parent`. `onEnd` receives the exit status; by default the
  // application's event loop exits with it.
  explicit QtSealPort(QWidget* parent = nullptr, std::function<void(int)> onEnd = {});
  void SetParent(QWidget* parent) { parent_ = parent; }

  void MessageBox(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  void Beep() override;
  void EndProgram(int status) override;

 private:
  QWidget* parent_;
  std::function<void(int)> onEnd_;
};

}  // namespace mireval::seal
