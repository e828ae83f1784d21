#include "frontends/qt/play/browser_view.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <algorithm>
#include <filesystem>

#include "app/browser.h"
#include "app/seams.h"
#include "base/files.h"
#include "base/text.h"
#include "frontends/qt/play/main_window.h"
#include "frontends/qt/play/story_view.h"
#include "frontends/qt/play/widgets.h"
#include "model/player.h"

namespace mireval {

namespace fs = std::filesystem;

namespace {

constexpr int kPathRole = Qt::UserRole;

std::string PathOf(const QVariant& data) {
  return data.toByteArray().toStdString();
}

}  // namespace

BrowserView::BrowserView(QWidget* panel, Player& p, MainWindow& window, const Seams& seams)
    : panel_(panel),
      p_(p),
      label2_(new QLabel(panel)),
      drive1_(new QComboBox(panel)),
      dir1_(new QListWidget(panel)),
      file1_(new QListWidget(panel)),
      command2_(new QPushButton(panel)),
      cancel_(new QPushButton(panel)) {
  panel_->setAutoFillBackground(true);
  label2_->setObjectName("browserCaption");
  label2_->setTextFormat(Qt::PlainText);
  drive1_->setObjectName("drives");
  drive1_->setAccessibleName(QString::fromUtf8("Место на диске"));
  dir1_->setObjectName("folders");
  dir1_->setAccessibleName(QString::fromUtf8("Папки"));
  file1_->setObjectName("files");
  file1_->setAccessibleName(QString::fromUtf8("Файлы"));
  command2_->setObjectName("startButton");
  cancel_->setObjectName("cancelButton");
  for (QPushButton* b : {command2_, cancel_}) b->setAutoDefault(true);

  // The caption over two columns: where to look on the left, what is there on the right.
  auto* grid = new QGridLayout(panel_);
  grid->setContentsMargins(6, 6, 6, 6);
  grid->setSpacing(6);
  grid->addWidget(label2_, 0, 0, 1, 2);
  grid->addWidget(drive1_, 1, 0);
  grid->addWidget(command2_, 1, 1);
  grid->addWidget(dir1_, 2, 0);
  grid->addWidget(file1_, 2, 1, 2, 1);
  grid->addWidget(cancel_, 3, 0, Qt::AlignLeft);
  grid->setRowStretch(2, 1);
  grid->setColumnStretch(0, 1);
  grid->setColumnStretch(1, 1);
  QWidget::setTabOrder(drive1_, dir1_);
  QWidget::setTabOrder(dir1_, file1_);
  QWidget::setTabOrder(file1_, command2_);
  QWidget::setTabOrder(command2_, cancel_);

  QObject::connect(drive1_, &QComboBox::activated, panel_, [this, &window, seams](int index) {
    std::string drive = PathOf(drive1_->itemData(index, kPathRole));
    window.Run([&] { seams.driveChosen(p_, drive); });
  });
  QObject::connect(dir1_, &QListWidget::itemActivated, panel_,
                   [this, &window, seams](QListWidgetItem* item) {
                     fs::path folder = PathOf(item->data(kPathRole));
                     window.Run([&] { seams.folderChosen(p_, folder); });
                   });
  QObject::connect(file1_, &QListWidget::itemActivated, panel_,
                   [this, &window, seams](QListWidgetItem* item) {
                     int row = file1_->row(item);
                     window.Run([&] { seams.fileClicked(p_, row); });
                   });
  QObject::connect(command2_, &QPushButton::clicked, panel_,
                   [this, &window, seams] { window.Run([&] { seams.startClicked(p_); }); });
  QObject::connect(cancel_, &QPushButton::clicked, panel_,
                   [this, &window, seams] { window.Run([&] { seams.cancelClicked(p_); }); });
  // Esc anywhere in the browser leaves it, as its cancel button does.
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), panel_);
  escape->setContext(Qt::WidgetWithChildrenShortcut);
  QObject::connect(escape, &QShortcut::activated, cancel_, &QPushButton::click);
}

void BrowserView::TakeFocus() {
  if (file1_->count() > 0) {
    if (!file1_->currentItem()) file1_->setCurrentRow(0);
    file1_->setFocus();
  } else {
    dir1_->setFocus();
  }
}

void BrowserView::FillDrives() {
  drive1_->clear();
  for (const std::string& d : p_.drives.items)
    drive1_->addItem(DisplayText(d), QByteArray::fromStdString(d));
}

void BrowserView::FillFolders() {
  dir1_->clear();
  for (const FolderRow& row : FolderRows(p_.folders.folder)) {
    auto* item =
        new QListWidgetItem(QString(row.depth * 2, QLatin1Char(' ')) + DisplayText(row.name));
    item->setData(kPathRole, QByteArray::fromStdString(row.path.native()));
    if (row.current) {
      QFont bold = item->font();
      bold.setBold(true);
      item->setFont(bold);
    }
    dir1_->addItem(item);
    if (row.current) dir1_->setCurrentItem(item);
  }
  foldersOf_ = p_.folders.folder;
  foldersKnown_ = true;
}

void BrowserView::Sync() {
  const bool visible = p_.browserPanel.visible;
  if (visible && !wasVisible_) {
    // The drives and the folder's subfolders may have changed while the panel was away.
    FillDrives();
    foldersKnown_ = false;
  }
  wasVisible_ = visible;

  Show(label2_, p_.browserCaption);
  SetText(label2_, DisplayText(p_.browserCaption.caption));

  Show(drive1_, p_.drives);
  QByteArray drive = QByteArray::fromStdString(p_.drives.drive);
  int at = drive1_->findData(drive, kPathRole);
  if (at < 0 && !drive.isEmpty()) {
    drive1_->addItem(DisplayText(p_.drives.drive), drive);
    at = drive1_->count() - 1;
  }
  if (drive1_->currentIndex() != at) drive1_->setCurrentIndex(at);

  Show(dir1_, p_.folders);
  // Folders are listed only while the panel shows them.
  if (visible && (!foldersKnown_ || foldersOf_ != p_.folders.folder)) FillFolders();

  Show(file1_, p_.files);
  if (files_ != p_.files.items) {
    file1_->clear();
    for (const std::string& name : p_.files.items) file1_->addItem(DisplayText(name));
    if (file1_->count() > 0) file1_->setCurrentRow(0);
    files_ = p_.files.items;
  }

  Show(command2_, p_.startButton);
  SetText(command2_, ButtonCaption(p_.startButton.caption));
  Show(cancel_, p_.cancelButton);
  SetText(cancel_, ButtonCaption(p_.cancelButton.caption));
}

}  // namespace mireval
