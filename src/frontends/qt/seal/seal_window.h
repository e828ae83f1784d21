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

class SealWindow : public QWidget {
 public:
  SealWindow(SealPort& port, const std::filesystem::path& folder, QWidget* parent = nullptr);

  // The folder the window showed last time (kept in the user's settings), or `fallback` when
  // there is none or it is gone.
  static std::filesystem::path RememberedFolder(const std::filesystem::path& fallback);

  const SealForm& form() const { return form_; }

  // The controls, each named for what it holds or does; public so that tests can click them.
  QComboBox* driveBox;
  QListWidget* folderList;
  QListWidget* fileList;
  QCheckBox* strongCheck;
  QPushButton* encryptFolderButton;
  QPushButton* decryptFolderButton;
  QLabel* descriptionLabel;
  QLabel* folderLabel;
  QListWidget* outcomeList;  // what the runs did, a line per file

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
    ShowingPort(SealWindow& window, SealPort& port) : window_(window), port_(port) {}
    void MessageBox(const std::string& text) override;
    bool AskYesNo(const std::string& text) override;
    void Beep() override { port_.Beep(); }
    void EndProgram(int status) override { port_.EndProgram(status); }

   private:
    SealWindow& window_;
    SealPort& port_;
  };

  void CreateControls();
  void LayOutControls();
  // Every control event goes to its handler, then the widgets show the form again.
  void ConnectControls();

  void ClickFile(const std::string& name);
  // The folder, its sub-folders, its files and the drive that holds it.
  void ShowFolder();
  void ShowDriveOfFolder();
  void ShowCheck();
  void ShowOutcome();

  QLabel* outcomeLabel_;
  SealForm form_;
  ShowingPort port_;
};

}  // namespace mireval::seal
