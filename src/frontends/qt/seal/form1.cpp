#include "frontends/qt/seal/form1.h"

#include <QByteArray>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

#include "engine/files.h"
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

}  // namespace

Form1::Form1(SealPort& port, const fs::path& folder, QWidget* parent)
    : QWidget(parent), port_(port) {
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

  auto* grid = new QGridLayout(this);
  grid->addWidget(Drive1, 0, 0);
  grid->addWidget(Dir1, 1, 0);
  grid->addWidget(File1, 0, 1, 2, 1);
  grid->addWidget(FolderLabel, 2, 0, 1, 2);
  grid->addWidget(Check1, 3, 0, 1, 2);
  grid->addWidget(Command2, 4, 0);
  grid->addWidget(Command1, 4, 1);
  grid->addWidget(Label1, 5, 0, 1, 2);
  resize(560, 420);

  for (const fs::path& drive : DefaultDriveRoots())
    Drive1->addItem(QFile::decodeName(QByteArray::fromStdString(drive.string())),
                    QByteArray::fromStdString(drive.string()));

  connect(Drive1, &QComboBox::activated, this, [this](int index) {
    Drive1_Change(form_, fs::path(Drive1->itemData(index).toByteArray().toStdString()));
    ShowFolder();
  });
  connect(Dir1, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { OpenFolder(OnDiskName(item)); });
  connect(File1, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { File1_Click(form_, port_, OnDiskName(item)); });
  connect(Check1, &QCheckBox::clicked, this, [this](bool checked) {
    form_.Check1 = checked;
    Check1_Click(form_, port_);
    ShowCheck();
  });
  connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(form_, port_); });
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(form_, port_); });

  Form_Load(form_, folder);
  ShowFolder();
  ShowCheck();
}

void Form1::OpenFolder(const std::string& name) {
  Dir1_Change(form_, name == kParentFolder ? form_.folder.parent_path() : form_.folder / name);
  ShowFolder();
}

void Form1::ShowFolder() {
  FolderLabel->setText(QFile::decodeName(QByteArray::fromStdString(form_.folder.string())));
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
