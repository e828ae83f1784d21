#include "frontends/qt/play/main_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <cstdio>

#include "engine/text.h"
#include "frontends/qt/play/browser_view.h"
#include "frontends/qt/play/fonts.h"
#include "frontends/qt/play/qt_media.h"
#include "frontends/qt/play/qt_platform.h"
#include "frontends/qt/play/story_view.h"
#include "frontends/qt/play/widgets.h"
#include "presentation/media.h"
#include "shell/keys.h"
#include "shell/player.h"
#include "shell/word_columns.h"

namespace mireval {

namespace {

constexpr int kWindowWidth = 792;
constexpr int kWindowHeight = 628;

// The code a key handler receives: 13 for Enter, the Windows-1251 code of a typed character,
// -1 for keys that type nothing (arrows, page keys), which the handlers never see.
int KeyCode(const QKeyEvent* k) {
  if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) return kEnter;
  QString text = k->text();
  if (text.isEmpty()) return -1;
  std::string cp = FromUtf8(text.left(1).toStdString());
  return cp.empty() ? -1 : static_cast<unsigned char>(cp[0]);
}

// What the input line may hold: only characters the engine can represent.
QString Representable(const QString& s) {
  return DisplayText(FromUtf8(s.toStdString()));
}

}  // namespace

MainWindow::MainWindow(Player& p, QtPlatform& platform, Seams seams)
    : p_(p), platform_(platform), seams_(std::move(seams)) {
  setObjectName("MainWindow");
  setFixedSize(kWindowWidth, kWindowHeight);
  setFont(InputFont());

  for (int i : {4, 0, 2, 1}) {
    Label1_[i] = new QLabel(this);
    Label1_[i]->setObjectName(QStringLiteral("Label1_%1").arg(i));
    Label1_[i]->setTextFormat(Qt::PlainText);
    Label1_[i]->setAutoFillBackground(true);
  }

  T_ = new QPlainTextEdit(this);
  T_->setObjectName("T");
  T_->setReadOnly(true);
  T_->setFont(StoryFont());
  T_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  T_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  T_->installEventFilter(this);
  story_ = std::make_unique<StoryView>(T_);

  Text2_ = new QLineEdit(this);
  Text2_->setObjectName("Text2");
  Text2_->setFont(InputFont());
  Text2_->installEventFilter(this);
  connect(Text2_, &QLineEdit::textEdited, this, [this](const QString& typed) {
    // The engine holds Windows-1251; a character it cannot hold shows as it will be read.
    QString kept = Representable(typed);
    if (kept != typed) {
      int cursor = Text2_->cursorPosition();
      Text2_->setText(kept);
      Text2_->setCursorPosition(cursor);
    }
    p_.Text2.text = FromUtf8(kept.toStdString());
  });

  Text1_ = new QLineEdit(this);
  Text1_->setObjectName("Text1");
  Text1_->installEventFilter(this);
  Text1_->lower();
  connect(Text1_, &QLineEdit::textEdited, this,
          [this](const QString& typed) { p_.Text1.text = FromUtf8(typed.toStdString()); });

  for (int c = 0; c < 2; ++c) {
    List1_[c] = new QListWidget(this);
    List1_[c]->setObjectName(QStringLiteral("List1_%1").arg(c));
    connect(List1_[c], &QListWidget::itemClicked, this, [this, c](QListWidgetItem* item) {
      int row = List1_[c]->row(item);
      Run([&] { List1_Click(p_, c, row); });
    });
  }

  for (int i = 0; i < 13; ++i) {
    Command1_[i] = new QPushButton(this);
    Command1_[i]->setObjectName(QStringLiteral("Command1_%1").arg(i));
    Command1_[i]->setAutoFillBackground(true);
    Command1_[i]->setFocusPolicy(Qt::NoFocus);  // the focus stays with Text1 while answers show
    connect(Command1_[i], &QPushButton::clicked, this,
            [this, i] { Run([&] { seams_.answerClicked(p_, i); }); });
  }

  Picture3_ = new QWidget(this);
  Picture3_->setObjectName("Picture3");
  Picture3_->setAutoFillBackground(true);
  Image3_ = new QLabel(Picture3_);
  Image3_->setObjectName("Image3");
  Image3_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Command3_ = new QPushButton(Picture3_);
  Command3_->setObjectName("Command3");
  connect(Command3_, &QPushButton::clicked, this, [this] { Run([&] { Command3_Click(p_); }); });

  // Made last, the two panels lie over everything else: the picture over the story, the browser
  // over all.
  Picture1_ = new QWidget(this);
  Picture1_->setObjectName("Picture1");
  browser_ = std::make_unique<BrowserView>(Picture1_, p_, *this, seams_);

  timer1_.setInterval(kTimerIntervalMs);
  connect(&timer1_, &QTimer::timeout, this, [this] { Run([&] { Timer1_Timer(p_); }); });
  timer1_.start();

  Sync();
}

MainWindow::~MainWindow() = default;

int MainWindow::StoryRewrites() const {
  return story_->Rewrites();
}

void MainWindow::Run(const std::function<void()>& handler) {
  if (platform_.Ending()) return;
  try {
    RunEventHandler(p_, handler);
  } catch (const ProgramExit&) {
    // The platform has told the event loop to return; the waits below unwind on their own.
  } catch (const std::exception& e) {
    std::fprintf(stderr, "mirplay: %s\n", e.what());
  }
  if (!platform_.Ending()) Sync();
}

void MainWindow::Sync() {
  if (QString title = DisplayText(p_.caption); windowTitle() != title) setWindowTitle(title);

  Place(T_, p_.T);
  Paint(T_, p_.T, QPalette::Base, QPalette::Text);
  story_->Sync(p_.T);

  Place(Text2_, p_.Text2);
  Paint(Text2_, p_.Text2, QPalette::Base, QPalette::Text);
  SetText(Text2_, DisplayText(p_.Text2.text));

  Place(Text1_, p_.Text1);
  SetText(Text1_, DisplayText(p_.Text1.text));

  SyncStatus();
  SyncAnswers();
  SyncWords();
  SyncPicture();
  browser_->Sync();
  Place(Picture1_, p_.Picture1);
  SyncFocus();
}

void MainWindow::SyncStatus() {
  for (int i : {0, 1, 2, 4}) {
    const Label& l = p_.Label1[static_cast<std::size_t>(i)];
    Place(Label1_[i], l);
    Paint(Label1_[i], l, QPalette::Window, QPalette::WindowText);
    SetText(Label1_[i], DisplayText(l.caption));
  }
}

void MainWindow::SyncAnswers() {
  for (int i = 0; i < 13; ++i) {
    const Button& b = p_.Command1[static_cast<std::size_t>(i)];
    Place(Command1_[i], b);
    Paint(Command1_[i], b, QPalette::Button, QPalette::ButtonText);
    SetText(Command1_[i], ButtonCaption(b.caption));
  }
}

void MainWindow::SyncWords() {
  for (int c = 0; c < 2; ++c) {
    const ListBox& l = p_.List1[static_cast<std::size_t>(c)];
    Place(List1_[c], l);
    Paint(List1_[c], l, QPalette::Base, QPalette::Text);
    if (words_[c] != l.items) {
      List1_[c]->clear();
      for (const std::string& word : l.items) List1_[c]->addItem(DisplayText(word));
      words_[c] = l.items;
    }
  }
}

void MainWindow::SyncPicture() {
  Place(Picture3_, p_.Picture3);
  Paint(Picture3_, p_.Picture3, QPalette::Window, QPalette::WindowText);
  // The panel's own children are laid out in twips.
  Place(Command3_, p_.Command3, kTwipsPerPixel);
  SetText(Command3_, ButtonCaption(p_.Command3.caption));
  Place(Image3_, p_.Image3, kTwipsPerPixel);
  if (p_.Image3.file != imageFile_) {
    QImage picture = p_.Image3.file.empty() ? QImage() : platform_.TakePicture(p_.Image3.file);
    Image3_->setPixmap(QPixmap::fromImage(picture));
    imageFile_ = p_.Image3.file;
  }
  if (Image3_->hasScaledContents() != p_.Image3.stretch)
    Image3_->setScaledContents(p_.Image3.stretch);
}

void MainWindow::SyncFocus() {
  QWidget* want = p_.focus == Focus::Story   ? static_cast<QWidget*>(T_)
                  : p_.focus == Focus::Text1 ? static_cast<QWidget*>(Text1_)
                  : p_.focus == Focus::Text2 ? static_cast<QWidget*>(Text2_)
                                             : nullptr;
  if (want && focusWidget() != want && want->isVisibleTo(this)) want->setFocus();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    // The model follows the focus wherever the player moves it.
    if (watched == T_) p_.focus = Focus::Story;
    if (watched == Text1_) p_.focus = Focus::Text1;
    if (watched == Text2_) p_.focus = Focus::Text2;
    return false;
  }
  if (event->type() != QEvent::KeyPress) return false;
  const int key = KeyCode(static_cast<QKeyEvent*>(event));
  if (watched == Text2_) {
    if (key == kEnter) {
      Run([&] { Text2_KeyPress(p_, kEnter); });
      return true;
    }
    if (key >= 0) Run([&] { Text2_KeyPress(p_, key); });
    return false;  // the character goes into the line as usual
  }
  if (watched == Text1_) {
    if (key == kEnter) {
      Run([&] { Text1_KeyPress(p_, kEnter); });
      return true;
    }
    return false;
  }
  if (watched == T_ && key >= 0) {
    // Keys typed into the story area only move the focus; the key itself is not passed on.
    Run([&] { T_KeyPress(p_, key); });
    return true;
  }
  return false;
}

void MainWindow::closeEvent(QCloseEvent* event) {
  platform_.RequestEnd(kExitNormal);
  event->accept();
}

}  // namespace mireval
