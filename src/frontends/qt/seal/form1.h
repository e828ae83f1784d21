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

  // Opens a sub-folder of the folder list by name ("..": the parent).
  void OpenFolder(const std::string& name);

 private:
  void ShowFolder();
  void ShowCheck();

  SealForm form_;
  SealPort& port_;
};

}  // namespace mireval::seal
