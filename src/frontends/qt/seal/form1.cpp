#include "frontends/qt/seal/form1.h"

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

fs::path Form1::RememberedFolder(const fs::path& fallback) {
  const fs::path folder = Settings().value(kFolderKey).toByteArray().toStdString();
  std::error_code ec;
  return !folder.empty() && fs::is_directory(folder, ec) ? folder : fallback;
}

void Form1::ShowingPort::MessageBox(const std::string& text) {
  window_.ShowOutcome();
  port_.MessageBox(text);
}

bool Form1::ShowingPort::AskYesNo(const std::string& text) {
  window_.ShowOutcome();
  return port_.AskYesNo(text);
}

Form1::Form1(SealPort& port, const fs::path& folder, QWidget* parent)
    : QWidget(parent), port_(*this, port) {
  setWindowTitle(QtText(SealCaptionText()));
  Drive1 = new QComboBox(this);
  Dir1 = new QListWidget(this);
  File1 = new QListWidget(this);
  Check1 = new QCheckBox(QtText(StrongCheckText()), this);
  Command2 = new QPushButton(QtText(EncryptFolderText()), this);
  Command1 = new QPushButton(QtText(DecryptFolderText()), this);
  Label1 = new QLabel(QtText(SealDescriptionText()), this);
  Label1->setWordWrap(true);
  FolderLabel = new QLabel(this);
  FolderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
  Outcome = new QListWidget(this);
  auto* outcomeLabel = new QLabel(QtText("Итог работы:"_cp), this);
  outcomeLabel->setBuddy(Outcome);

  // Screen readers name each control by what it holds; the buttons and the check box by their text.
  Drive1->setAccessibleName(QtText("Диск"_cp));
  Dir1->setAccessibleName(QtText("Папки"_cp));
  File1->setAccessibleName(QtText("Файлы локаций и списков; Enter шифрует выбранный"_cp));
  FolderLabel->setAccessibleName(QtText("Текущая папка"_cp));
  Outcome->setAccessibleName(QtText("Итог работы"_cp));
  Label1->setAccessibleName(QtText("О программе"_cp));
  Outcome->setFocusPolicy(Qt::TabFocus);

  auto* grid = new QGridLayout(this);
  grid->addWidget(Drive1, 0, 0);
  grid->addWidget(Dir1, 1, 0);
  grid->addWidget(File1, 0, 1, 2, 1);
  grid->addWidget(FolderLabel, 2, 0, 1, 2);
  grid->addWidget(Check1, 3, 0, 1, 2);
  grid->addWidget(Command2, 4, 0);
  grid->addWidget(Command1, 4, 1);
  grid->addWidget(outcomeLabel, 5, 0, 1, 2);
  grid->addWidget(Outcome, 6, 0, 1, 2);
  grid->addWidget(Label1, 7, 0, 1, 2);
  grid->setRowStretch(1, 3);
  grid->setRowStretch(6, 1);
  grid->setColumnStretch(0, 1);
  grid->setColumnStretch(1, 1);
  setMinimumSize(420, 360);
  resize(640, 480);

  // The keyboard walks the window as the eye reads it.
  setTabOrder(Drive1, Dir1);
  setTabOrder(Dir1, File1);
  setTabOrder(File1, Check1);
  setTabOrder(Check1, Command2);
  setTabOrder(Command2, Command1);
  setTabOrder(Command1, Outcome);
  File1->installEventFilter(this);

  for (const fs::path& drive : DefaultDriveRoots())
    Drive1->addItem(QFile::decodeName(QByteArray::fromStdString(drive.string())),
                    QByteArray::fromStdString(drive.string()));

  connect(Drive1, &QComboBox::activated, this, [this](int index) {
    OnDriveChanged(form_, fs::path(Drive1->itemData(index).toByteArray().toStdString()));
    ShowFolder();
  });
  connect(Dir1, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { OpenFolder(OnDiskName(item)); });
  connect(File1, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { ClickFile(OnDiskName(item)); });
  connect(Check1, &QCheckBox::clicked, this, [this](bool checked) {
    form_.Check1 = checked;
    Check1_Click(form_, port_);
    ShowCheck();
  });
  connect(Command2, &QPushButton::clicked, this, [this] {
    OnStartClicked(form_, port_);
    ShowOutcome();
  });
  connect(Command1, &QPushButton::clicked, this, [this] {
    OnAnswerClicked(form_, port_);
    ShowOutcome();
  });

  StartPlayer(form_, folder);
  ShowFolder();
  ShowCheck();
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == File1 && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && File1->currentItem()) {
      ClickFile(OnDiskName(File1->currentItem()));
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void Form1::ClickFile(const std::string& name) {
  OnFileChosen(form_, port_, name);
  ShowOutcome();
}

void Form1::ShowOutcome() {
  // The list only grows: the lines already shown stay as they are.
  for (std::size_t i = static_cast<std::size_t>(Outcome->count()); i < form_.outcome.size(); ++i)
    Outcome->addItem(QtText(form_.outcome[i]));
  Outcome->scrollToBottom();
}

void Form1::OpenFolder(const std::string& name) {
  OnFolderChanged(form_, name == kParentFolder ? form_.folder.parent_path() : form_.folder / name);
  ShowFolder();
}

void Form1::ShowFolder() {
  FolderLabel->setText(QFile::decodeName(QByteArray::fromStdString(form_.folder.string())));
  Settings().setValue(kFolderKey, QByteArray::fromStdString(form_.folder.string()));
  Dir1->clear();
  if (form_.folder.has_relative_path()) AddItem(Dir1, kParentFolder);
  for (const std::string& name : SubFolderNames(form_.folder)) AddItem(Dir1, name);
  File1->clear();
  for (const std::string& name : form_.files) AddItem(File1, name);
  // The drive that holds the folder: the longest drive path it lies within.
  int best = -1;
  std::size_t bestLength = 0;
  for (int i = 0; i < Drive1->count(); ++i) {
    std::string drive = Drive1->itemData(i).toByteArray().toStdString();
    if (IsWithin(form_.folder, drive) && drive.size() >= bestLength) {
      best = i;
      bestLength = drive.size();
    }
  }
  QSignalBlocker block(Drive1);
  Drive1->setCurrentIndex(best);
}

void Form1::ShowCheck() {
  QSignalBlocker block(Check1);
  Check1->setChecked(form_.Check1);
}

}  // namespace mireval::seal
