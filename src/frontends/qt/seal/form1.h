// The seal tool's window. Every event goes to the handlers of sealtool/seal_form.h; afterwards the
// widgets are brought in line with the form data.
#pragma once

#include <filesystem>

#include <QWidget>

#include "sealtool/seal_form.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace mireval::seal {

class Form1 : public QWidget {
 public:
  Form1(SealPort& port, const std::filesystem::path& folder, QWidget* parent = nullptr);

  // The folder the window showed last time (kept in the user's settings), or `fallback` when
  // there is none or it is gone.
  static std::filesystem::path RememberedFolder(const std::filesystem::path& fallback);

  const SealForm& form() const { return form_; }

  // The controls, named as the handlers name them; public so that tests can click them.
  QComboBox* Drive1;
  QListWidget* Dir1;
  QListWidget* File1;
  QCheckBox* Check1;
  QPushButton* Command2;
  QPushButton* Command1;
  QLabel* Label1;
  QLabel* FolderLabel;
  QListWidget* Outcome;  // what the runs did, a line per file

  // Opens a sub-folder of the folder list by name ("..": the parent).
  void OpenFolder(const std::string& name);

 protected:
  // Enter on the file list acts as a click on the current file.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Passes everything on to the window's port, showing the outcome list first, so that it stands
  // in the window while a message is read.
  class ShowingPort : public SealPort {
   public:
    ShowingPort(Form1& window, SealPort& port) : window_(window), port_(port) {}
    void MessageBox(const std::string& text) override;
    bool AskYesNo(const std::string& text) override;
    void Beep() override { port_.Beep(); }
    void EndProgram(int status) override { port_.EndProgram(status); }

   private:
    Form1& window_;
    SealPort& port_;
  };

  void ClickFile(const std::string& name);
  void ShowFolder();
  void ShowCheck();
  void ShowOutcome();

  SealForm form_;
  ShowingPort port_;
};

}  // namespace mireval::seal
