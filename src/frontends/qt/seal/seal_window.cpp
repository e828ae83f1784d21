#include "frontends/qt/seal/seal_window.h"

#include <QByteArray>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QSignalBlocker>

#include "base/files.h"
#include "base/text.h"
#include "frontends/qt/seal/qt_seal_port.h"

namespace fs = std::filesystem;

namespace mireval::seal {

namespace {

constexpr const char* kParentFolder = "..";

QString DisplayName(const std::string& onDisk) {
  return QFile::decodeName(QByteArray::fromStdString(onDisk));
}

void AddItem(QListWidget* list, const std::string& onDisk) {
  auto* item = new QListWidgetItem(DisplayName(onDisk), list);  // owned by the list
  item->setData(Qt::UserRole, QByteArray::fromStdString(onDisk));
}

std::string OnDiskName(const QListWidgetItem* item) {
  return item->data(Qt::UserRole).toByteArray().toStdString();
}

QSettings Settings() {
  return QSettings("Mireval", "mirseal");
}
constexpr const char* kFolderKey = "folder";

}  // namespace

fs::path SealWindow::RememberedFolder(const fs::path& fallback) {
  const fs::path folder = Settings().value(kFolderKey).toByteArray().toStdString();
  std::error_code ec;
  return !folder.empty() && fs::is_directory(folder, ec) ? folder : fallback;
}

void SealWindow::ShowingPort::MessageBox(const std::string& text) {
  window_.ShowOutcome();
  port_.MessageBox(text);
}

bool SealWindow::ShowingPort::AskYesNo(const std::string& text) {
  window_.ShowOutcome();
  return port_.AskYesNo(text);
}

SealWindow::SealWindow(SealPort& port, const fs::path& folder, QWidget* parent)
    : QWidget(parent), port_(*this, port) {
  setWindowTitle(QtText(SealCaptionText()));
  CreateControls();
  LayOutControls();
  ConnectControls();
  StartSealTool(form_, folder);
  ShowFolder();
  ShowCheck();
}

void SealWindow::CreateControls() {
  driveBox = new QComboBox(this);
  folderList = new QListWidget(this);
  fileList = new QListWidget(this);
  strongCheck = new QCheckBox(QtText(StrongCheckText()), this);
  encryptFolderButton = new QPushButton(QtText(EncryptFolderText()), this);
  decryptFolderButton = new QPushButton(QtText(DecryptFolderText()), this);
  descriptionLabel = new QLabel(QtText(SealDescriptionText()), this);
  descriptionLabel->setWordWrap(true);
  folderLabel = new QLabel(this);
  folderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
  outcomeList = new QListWidget(this);
  outcomeLabel_ = new QLabel(QtText("Итог работы:"_cp), this);
  outcomeLabel_->setBuddy(outcomeList);

  // Tests and style sheets find the controls by the names the code gives them.
  driveBox->setObjectName("driveBox");
  folderList->setObjectName("folderList");
  fileList->setObjectName("fileList");
  strongCheck->setObjectName("strongCheck");
  encryptFolderButton->setObjectName("encryptFolderButton");
  decryptFolderButton->setObjectName("decryptFolderButton");
  descriptionLabel->setObjectName("descriptionLabel");
  folderLabel->setObjectName("folderLabel");
  outcomeList->setObjectName("outcomeList");

  // Screen readers name each control by what it holds; the buttons and the check box by their text.
  driveBox->setAccessibleName(QtText("Диск"_cp));
  folderList->setAccessibleName(QtText("Папки"_cp));
  fileList->setAccessibleName(QtText("Файлы локаций и списков; Enter шифрует выбранный"_cp));
  folderLabel->setAccessibleName(QtText("Текущая папка"_cp));
  outcomeList->setAccessibleName(QtText("Итог работы"_cp));
  descriptionLabel->setAccessibleName(QtText("О программе"_cp));
  outcomeList->setFocusPolicy(Qt::TabFocus);

  for (const fs::path& drive : DefaultDriveRoots())
    driveBox->addItem(DisplayName(drive.string()), QByteArray::fromStdString(drive.string()));
}

void SealWindow::LayOutControls() {
  auto* grid = new QGridLayout(this);
  grid->addWidget(driveBox, 0, 0);
  grid->addWidget(folderList, 1, 0);
  grid->addWidget(fileList, 0, 1, 2, 1);
  grid->addWidget(folderLabel, 2, 0, 1, 2);
  grid->addWidget(strongCheck, 3, 0, 1, 2);
  grid->addWidget(encryptFolderButton, 4, 0);
  grid->addWidget(decryptFolderButton, 4, 1);
  grid->addWidget(outcomeLabel_, 5, 0, 1, 2);
  grid->addWidget(outcomeList, 6, 0, 1, 2);
  grid->addWidget(descriptionLabel, 7, 0, 1, 2);
  grid->setRowStretch(1, 3);
  grid->setRowStretch(6, 1);
  grid->setColumnStretch(0, 1);
  grid->setColumnStretch(1, 1);
  setMinimumSize(420, 360);
  resize(640, 480);

  // The keyboard walks the window as the eye reads it.
  setTabOrder(driveBox, folderList);
  setTabOrder(folderList, fileList);
  setTabOrder(fileList, strongCheck);
  setTabOrder(strongCheck, encryptFolderButton);
  setTabOrder(encryptFolderButton, decryptFolderButton);
  setTabOrder(decryptFolderButton, outcomeList);
}

void SealWindow::ConnectControls() {
  fileList->installEventFilter(this);
  connect(driveBox, &QComboBox::activated, this, [this](int index) {
    OnDriveChanged(form_, fs::path(driveBox->itemData(index).toByteArray().toStdString()));
    ShowFolder();
  });
  connect(folderList, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { OpenFolder(OnDiskName(item)); });
  connect(fileList, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { ClickFile(OnDiskName(item)); });
  connect(strongCheck, &QCheckBox::clicked, this, [this](bool checked) {
    form_.strongChecked = checked;
    OnStrongCheckClicked(form_, port_);
    ShowCheck();
  });
  connect(encryptFolderButton, &QPushButton::clicked, this, [this] {
    OnEncryptFolderClicked(form_, port_);
    ShowOutcome();
  });
  connect(decryptFolderButton, &QPushButton::clicked, this, [this] {
    OnDecryptFolderClicked(form_, port_);
    ShowOutcome();
  });
}

bool SealWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == fileList && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && fileList->currentItem()) {
      ClickFile(OnDiskName(fileList->currentItem()));
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void SealWindow::ClickFile(const std::string& name) {
  OnFileChosen(form_, port_, name);
  ShowOutcome();
}

void SealWindow::ShowOutcome() {
  // The list only grows: the lines already shown stay as they are.
  for (std::size_t i = static_cast<std::size_t>(outcomeList->count()); i < form_.outcome.size();
       ++i)
    outcomeList->addItem(QtText(form_.outcome[i]));
  outcomeList->scrollToBottom();
}

void SealWindow::OpenFolder(const std::string& name) {
  OnFolderChanged(form_, name == kParentFolder ? form_.folder.parent_path() : form_.folder / name);
  ShowFolder();
}

void SealWindow::ShowFolder() {
  folderLabel->setText(DisplayName(form_.folder.string()));
  Settings().setValue(kFolderKey, QByteArray::fromStdString(form_.folder.string()));
  folderList->clear();
  if (form_.folder.has_relative_path()) AddItem(folderList, kParentFolder);
  for (const std::string& name : SubFolderNames(form_.folder)) AddItem(folderList, name);
  fileList->clear();
  for (const std::string& name : form_.files) AddItem(fileList, name);
  ShowDriveOfFolder();
}

void SealWindow::ShowDriveOfFolder() {
  // The drive that holds the folder: the longest drive path it lies within.
  int best = -1;
  std::size_t bestLength = 0;
  for (int i = 0; i < driveBox->count(); ++i) {
    std::string drive = driveBox->itemData(i).toByteArray().toStdString();
    if (IsWithin(form_.folder, drive) && drive.size() >= bestLength) {
      best = i;
      bestLength = drive.size();
    }
  }
  QSignalBlocker block(driveBox);
  driveBox->setCurrentIndex(best);
}

void SealWindow::ShowCheck() {
  QSignalBlocker block(strongCheck);
  strongCheck->setChecked(form_.strongChecked);
}

}  // namespace mireval::seal
