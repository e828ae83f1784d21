#include "frontends/qt/play/main_window.h"

#include <QAccessible>
#include <QApplication>
#include <QBoxLayout>
#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStackedLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cstdio>

#include "app/keys.h"
#include "app/top_level.h"
#include "base/text.h"
#include "frontends/qt/play/browser_view.h"
#include "frontends/qt/play/fonts.h"
#include "frontends/qt/play/qt_media.h"
#include "frontends/qt/play/qt_platform.h"
#include "frontends/qt/play/story_view.h"
#include "frontends/qt/play/view_widgets.h"
#include "frontends/qt/play/widgets.h"
#include "model/player.h"
#include "view/media.h"
#include "view/word_columns.h"

namespace mireval {

namespace {

constexpr int kMinWidth = 640;
constexpr int kMinHeight = 480;
// The picture stands beside the story once the story keeps this many characters a line beside it.
constexpr int kPictureBesideCharacters = 120;

QString U(const char* utf8) {
  return QString::fromUtf8(utf8);
}

// The code a key handler receives: 13 for Enter, the Windows-1251 code of a typed character,
// -1 for keys that type nothing (arrows, page keys), which the handlers never see.
int KeyCode(const QKeyEvent* k) {
  if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) return kEnter;
  QString text = k->text();
  if (text.isEmpty() || !text.at(0).isPrint()) return -1;
  std::string cp = FromUtf8(text.left(1).toStdString());
  return cp.empty() ? -1 : static_cast<unsigned char>(cp[0]);
}

bool IsEnter(const QKeyEvent* k) {
  return k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter;
}

// A key that types into the input line: printable, with no command modifier held.
bool Types(const QKeyEvent* k) {
  if (k->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
  return !k->text().isEmpty() && k->text().at(0).isPrint();
}

// What the input line may hold: only characters the engine can represent.
QString Representable(const QString& s) {
  return DisplayText(FromUtf8(s.toStdString()));
}

QFont Zoomed(QFont font, double zoom) {
  font.setPointSizeF(font.pointSizeF() * zoom);
  return font;
}

}  // namespace

QString MainWindow::SettingsOrganisation() {
  return QStringLiteral("Mireval");
}

MainWindow::MainWindow(Player& p, QtPlatform& platform, Seams seams)
    : p_(p), platform_(platform), seams_(std::move(seams)) {
  setObjectName("MainWindow");
  ExposeOnlyShownWidgets();
  setMinimumSize(kMinWidth, kMinHeight);
  {
    QSettings settings(SettingsOrganisation(), QStringLiteral("mirplay"));
    options_ = ViewOptions::Load(settings);
  }
  BuildWidgets();
  BuildMenus();
  RestoreGeometry();
  ApplyZoom();

  timer1_.setInterval(kTimerIntervalMs);
  connect(&timer1_, &QTimer::timeout, this, [this] { Run([&] { OnTimerTick(p_); }); });
  timer1_.start();

  Sync();
}

MainWindow::~MainWindow() {
  SaveSettings();
}

void MainWindow::BuildWidgets() {
  auto* central = new QWidget(this);
  central->setObjectName("central");
  setCentralWidget(central);
  grid_ = new QGridLayout(central);
  grid_->setContentsMargins(6, 4, 6, 6);
  grid_->setSpacing(4);

  // The status line: the game's title above, then where the player is, who they are and how far
  // they have come.
  auto* status = new QWidget(central);
  status->setObjectName("status");
  auto* statusBox = new QVBoxLayout(status);
  statusBox->setContentsMargins(0, 0, 0, 0);
  statusBox->setSpacing(0);
  title_ = new StatusCell(U("Название игры"), U("Игра"), status);
  title_->setObjectName("status_title");
  statusBox->addWidget(title_);
  cellsRow_ = new QHBoxLayout;
  cellsRow_->setSpacing(2);
  const char* kinds[] = {"Место", "Характер", "Ходы и очки"};
  const char* prefixes[] = {"Место", "Характер", ""};
  const char* names[] = {"status_location", "status_character", "status_moves"};
  for (std::size_t i = 0; i < cells_.size(); ++i) {
    cells_[i] = new StatusCell(U(kinds[i]), U(prefixes[i]), status);
    cells_[i]->setObjectName(names[i]);
    cellsRow_->addWidget(cells_[i]);
  }
  statusBox->addLayout(cellsRow_);
  grid_->addWidget(status, 0, 0);

  // The centre: the story with its picture, or the game browser in their place.
  auto* centreHost = new QWidget(central);
  // The centre takes whatever the status line, the answers and the input line leave.
  centreHost->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Ignored);
  centreHost->setMinimumHeight(80);
  centre_ = new QStackedLayout(centreHost);
  storyArea_ = new QWidget(centreHost);
  storyArea_->setObjectName("story_area");
  storyArea_->installEventFilter(this);
  storyBox_ = new QBoxLayout(QBoxLayout::TopToBottom, storyArea_);
  storyBox_->setContentsMargins(0, 0, 0, 0);
  storyBox_->setSpacing(4);

  picturePane_ = new QWidget(storyArea_);
  picturePane_->setObjectName("picture_pane");
  picturePane_->setAutoFillBackground(true);
  auto* paneBox = new QVBoxLayout(picturePane_);
  paneBox->setContentsMargins(2, 2, 2, 2);
  paneBox->setSpacing(0);
  pictureClose_ = new QPushButton(picturePane_);
  pictureClose_->setObjectName("picture_close");
  pictureClose_->setAccessibleName(U("Закрыть картинку"));
  pictureClose_->setToolTip(U("Закрыть картинку (Esc)"));
  pictureClose_->setFocusPolicy(Qt::TabFocus);
  pictureClose_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  pictureClose_->installEventFilter(this);
  connect(pictureClose_, &QPushButton::clicked, this, [this] {
    Run([&] { OnPictureClosed(p_); });
    input_->setFocus();
  });
  auto* closeRow = new QHBoxLayout;
  closeRow->addStretch(1);
  closeRow->addWidget(pictureClose_);
  paneBox->addLayout(closeRow);
  picture_ = new PictureView(picturePane_);
  picture_->setObjectName("picture");
  paneBox->addWidget(picture_, 1);

  story_ = new StoryEdit(storyArea_);
  story_->setObjectName("story");
  story_->setAccessibleName(U("Рассказ"));
  story_->setAccessibleDescription(U("Текст игры"));
  story_->setReadOnly(true);
  story_->setFocusPolicy(Qt::TabFocus);
  story_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  story_->SetReadableMeasure(options_.readableMeasure);
  story_->installEventFilter(this);
  story_->viewport()->installEventFilter(this);
  storyView_ = std::make_unique<StoryView>(story_);
  storyBox_->addWidget(picturePane_, 2);
  storyBox_->addWidget(story_, 3);
  centre_->addWidget(storyArea_);

  browserPanel_ = new QWidget(centreHost);
  browserPanel_->setObjectName("browser");
  browserPanel_->setAccessibleName(U("Выбор игры"));
  browser_ = std::make_unique<BrowserView>(browserPanel_, p_, *this, seams_);
  centre_->addWidget(browserPanel_);
  grid_->addWidget(centreHost, 1, 0);
  grid_->setRowStretch(1, 1);
  grid_->setColumnStretch(0, 1);

  // The answers of a dialogue, only as tall as they need.
  answerBand_ = new QWidget(central);
  answerBand_->setObjectName("answers");
  answerBand_->installEventFilter(this);
  // As tall as its answers at the width it is given: long captions wrap.
  QSizePolicy bandPolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  bandPolicy.setHeightForWidth(true);
  answerBand_->setSizePolicy(bandPolicy);
  answerBox_ = new QVBoxLayout(answerBand_);
  answerBox_->setContentsMargins(0, 0, 0, 0);
  answerBox_->setSpacing(2);
  for (int i = 0; i < 13; ++i) {
    auto* b = new AnswerButton(answerBand_);
    b->setObjectName(QStringLiteral("answer_%1").arg(i));
    b->setFocusPolicy(Qt::TabFocus);  // a click leaves the keyboard with the input line
    b->installEventFilter(this);
    b->hide();
    connect(b, &QPushButton::clicked, this, [this, i] {
      Run([&] { seams_.answerClicked(p_, i); });
      if (!p_.browserPanel.visible) input_->setFocus();
    });
    answers_[static_cast<std::size_t>(i)] = b;
  }
  grid_->addWidget(answerBand_, 2, 0);

  // The word columns at the right of the story and the answers.
  wordsPane_ = new QWidget(central);
  wordsPane_->setObjectName("words");
  auto* wordsBox = new QHBoxLayout(wordsPane_);
  wordsBox->setContentsMargins(0, 0, 0, 0);
  wordsBox->setSpacing(3);
  for (int c = 0; c < 2; ++c) {
    auto* list = new QListWidget(wordsPane_);
    list->setObjectName(QStringLiteral("words_%1").arg(c));
    list->setAccessibleName(U("Слова %1").arg(c + 1));
    list->setAccessibleDescription(c == 0 ? U("Слова перед командой") : U("Слова после команды"));
    list->setFocusPolicy(Qt::TabFocus);
    list->installEventFilter(this);
    list->viewport()->installEventFilter(this);
    connect(list, &QListWidget::itemClicked, this, [this, c, list](QListWidgetItem* item) {
      int row = list->row(item);
      Run([&] { OnWordClicked(p_, c, row); });
      input_->setFocus();
    });
    wordsBox->addWidget(list);
    words_[static_cast<std::size_t>(c)] = list;
  }
  grid_->addWidget(wordsPane_, 1, 1, 2, 1);

  input_ = new QLineEdit(central);
  input_->setObjectName("input");
  input_->setAccessibleName(U("Команда"));
  input_->setAccessibleDescription(U("Введите команду и нажмите Enter"));
  input_->setPlaceholderText(U("Введите команду и нажмите Enter"));
  input_->installEventFilter(this);
  connect(input_, &QLineEdit::textEdited, this, [this](const QString& typed) {
    // The engine holds Windows-1251; a character it cannot hold shows as it will be read.
    QString kept = Representable(typed);
    if (kept != typed) {
      int cursor = input_->cursorPosition();
      input_->setText(kept);
      input_->setCursorPosition(cursor);
    }
    p_.input.text = FromUtf8(kept.toStdString());
  });
  grid_->addWidget(input_, 3, 0);

  // Reading order for Tab: the line, the answers, the words, the story, the picture's button.
  setTabOrder(input_, answers_[1]);
  for (int i = 1; i < 12; ++i)
    setTabOrder(answers_[static_cast<std::size_t>(i)], answers_[static_cast<std::size_t>(i + 1)]);
  setTabOrder(answers_[12], answers_[0]);
  setTabOrder(answers_[0], words_[0]);
  setTabOrder(words_[0], words_[1]);
  setTabOrder(words_[1], story_);
  setTabOrder(story_, pictureClose_);
  input_->setFocus();
}

void MainWindow::BuildMenus() {
  QMenu* game = menuBar()->addMenu(U("&Игра"));
  game->addAction(U("&Новая игра…"), QKeySequence(Qt::CTRL | Qt::Key_N), this,
                  [this] { EnterCommand(U("НОВАЯ ИГРА")); });
  game->addAction(U("&Сохранить"), QKeySequence(Qt::CTRL | Qt::Key_S), this,
                  [this] { EnterCommand(U("СОХРАНИТЬ ИГРУ")); });
  game->addAction(U("&Загрузить…"), QKeySequence(Qt::CTRL | Qt::Key_O), this,
                  [this] { EnterCommand(U("ЗАГРУЗИТЬ ИГРУ")); });
  game->addSeparator();
  game->addAction(U("&Выход"), QKeySequence(Qt::CTRL | Qt::Key_Q), this, [this] { close(); });

  QMenu* view = menuBar()->addMenu(U("&Вид"));
  QAction* bigger =
      view->addAction(U("&Крупнее"), this, [this] { SetZoom(ZoomStep(options_.zoom, 1)); });
  bigger->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
  view->addAction(U("&Мельче"), QKeySequence(Qt::CTRL | Qt::Key_Minus), this,
                  [this] { SetZoom(ZoomStep(options_.zoom, -1)); });
  view->addAction(U("&Обычный размер"), QKeySequence(Qt::CTRL | Qt::Key_0), this,
                  [this] { SetZoom(1.0); });
  view->addSeparator();
  fullScreenAction_ = view->addAction(U("Во весь &экран"), QKeySequence(Qt::Key_F11), this,
                                      [this] { ToggleFullScreen(); });
  fullScreenAction_->setCheckable(true);
  measureAction_ = view->addAction(U("Строки &удобной длины"), this,
                                   [this](bool on) { SetReadableMeasure(on); });
  measureAction_->setCheckable(true);
  measureAction_->setChecked(options_.readableMeasure);
  view->addSeparator();
  QMenu* schemes = view->addMenu(U("&Цветовая гамма"));
  for (int s = 1; s <= 12; ++s)
    schemes->addAction(U("Гамма %1").arg(s), this, [this, s] { ChooseScheme(s); });
  schemes->addAction(U("Высокая &контрастность"), this,
                     [this] { ChooseScheme(kHighContrastScheme); });
  ownColoursAction_ =
      view->addAction(U("&Мои цвета для всех игр"), this, [this](bool on) { SetOwnColours(on); });
  ownColoursAction_->setCheckable(true);
  ownColoursAction_->setChecked(options_.ownColours);

  QMenu* help = menuBar()->addMenu(U("&Справка"));
  help->addAction(U("&Правила"), QKeySequence(Qt::Key_F1), this,
                  [this] { EnterCommand(GameLoaded(p_) ? U("ПОМОЩЬ") : U("СПРАВКА")); });
  help->addAction(U("&Создание игр"), this, [this] { EnterCommand(U("СОЗДАНИЕ ИГРЫ")); });
  help->addSeparator();
  help->addAction(U("&О программе"), this, [this] {
    QMessageBox::about(this, U("О программе"),
                       U("Миревал 2.0\nпроигрыватель текстовых игр на русском языке"));
    input_->setFocus();
  });
}

void MainWindow::RestoreGeometry() {
  QSettings settings(SettingsOrganisation(), QStringLiteral("mirplay"));
  if (!restoreGeometry(settings.value("window/geometry").toByteArray())) {
    // First run: a comfortable size that the screen holds.
    QRect screen = QGuiApplication::primaryScreen()
                       ? QGuiApplication::primaryScreen()->availableGeometry()
                       : QRect(0, 0, 1024, 768);
    QSize size =
        QSize(1024, 768).boundedTo(screen.size() * 0.9).expandedTo(QSize(kMinWidth, kMinHeight));
    resize(size);
    move(screen.center() - QPoint(size.width() / 2, size.height() / 2));
  }
  if (settings.value("window/fullScreen", false).toBool())
    setWindowState(windowState() | Qt::WindowFullScreen);
  fullScreenAction_->setChecked(windowState() & Qt::WindowFullScreen);
}

void MainWindow::SaveSettings() {
  QSettings settings(SettingsOrganisation(), QStringLiteral("mirplay"));
  settings.setValue("window/geometry", saveGeometry());
  settings.setValue("window/fullScreen", bool(windowState() & Qt::WindowFullScreen));
  options_.Save(settings);
}

QString MainWindow::DialogTitle() const {
  return DisplayText(p_.caption);
}

int MainWindow::StoryRewrites() const {
  return storyView_->Rewrites();
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
  // The title bar and the task bar name the game being played; dialogs keep the program's name.
  QString title = DialogTitle();
  if (GameLoaded(p_)) title = DisplayText(p_.gameTitle.Text()).trimmed() + " — " + title;
  if (windowTitle() != title) {
    setWindowTitle(title);
    setAccessibleName(title);
  }
  SyncColours();
  storyView_->Sync(p_.story);
  story_->setVisible(p_.story.visible);
  input_->setVisible(p_.input.visible);
  SetText(input_, DisplayText(p_.input.text));

  SyncStatus();
  SyncAnswers();
  SyncWords();
  SyncPicture();
  browser_->Sync();
  centre_->setCurrentWidget(p_.browserPanel.visible ? browserPanel_ : storyArea_);
  SyncFocus();
}

void MainWindow::SyncColours() {
  WindowColours c = options_.ownColours ? SchemeColours(options_.ownScheme) : GameColours(p_);
  if (coloursKnown_ && c == colours_) return;
  QPalette palette = PaletteFor(c, QApplication::palette());
  setPalette(palette);
  // The menu bar writes its titles in the button text colour, which belongs to the answers.
  palette.setColor(QPalette::ButtonText, c.text);
  menuBar()->setPalette(palette);
  // The line the player types in stands a shade apart from the page around it.
  QPalette line = palette;
  line.setColor(QPalette::Base, QColor::fromRgbF(c.back.redF() * 0.85f + c.text.redF() * 0.15f,
                                                 c.back.greenF() * 0.85f + c.text.greenF() * 0.15f,
                                                 c.back.blueF() * 0.85f + c.text.blueF() * 0.15f));
  QColor hint = c.text;
  hint.setAlphaF(0.6f);
  line.setColor(QPalette::PlaceholderText, hint);
  input_->setPalette(line);
  colours_ = c;
  coloursKnown_ = true;
}

void MainWindow::SyncStatus() {
  title_->SetCaption(DisplayText(p_.statusLabels[4].caption));
  title_->setVisible(p_.statusLabels[4].visible);
  // The cells share the line in the proportions the layout gives them.
  const int order[] = {0, 2, 1};
  for (std::size_t i = 0; i < cells_.size(); ++i) {
    const Label& l = p_.statusLabels[static_cast<std::size_t>(order[i])];
    cells_[i]->SetCaption(DisplayText(l.caption));
    cells_[i]->setVisible(l.visible);
    int stretch = std::clamp(static_cast<int>(l.width), 1, 10000);
    if (cellsRow_->stretch(static_cast<int>(i)) != stretch)
      cellsRow_->setStretch(static_cast<int>(i), stretch);
  }
}

void MainWindow::SyncAnswers() {
  std::vector<int> order;
  for (int i = 0; i < 13; ++i) {
    const Button& b = p_.answers[static_cast<std::size_t>(i)];
    AnswerButton* button = answers_[static_cast<std::size_t>(i)];
    button->SetAnswer(i, DisplayText(b.caption));
    if (b.visible) order.push_back(i);
  }
  // Top to bottom as the dialogue placed them.
  std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
    return p_.answers[static_cast<std::size_t>(a)].top <
           p_.answers[static_cast<std::size_t>(b)].top;
  });
  if (order != answerOrder_) {
    for (AnswerButton* b : answers_) {
      answerBox_->removeWidget(b);
      b->hide();
    }
    for (int i : order) {
      answerBox_->addWidget(answers_[static_cast<std::size_t>(i)]);
      answers_[static_cast<std::size_t>(i)]->show();
    }
    QWidget* previous = input_;
    for (int i : order) {
      setTabOrder(previous, answers_[static_cast<std::size_t>(i)]);
      previous = answers_[static_cast<std::size_t>(i)];
    }
    setTabOrder(previous, words_[0]);
    answerOrder_ = order;
  }
  answerBand_->setVisible(!order.empty());
  FitAnswerBand();
}

void MainWindow::FitAnswerBand() {
  // The grid hands out heights before it knows the width; the band asks for what its answers
  // need at the width it has.
  const int need = answerBand_->heightForWidth(answerBand_->width());
  if (need > 0 && answerBand_->minimumHeight() != need) answerBand_->setMinimumHeight(need);
}

void MainWindow::SyncWords() {
  bool any = false;
  const int width = std::max(static_cast<int>(110 * options_.zoom),
                             14 * words_[0]->fontMetrics().averageCharWidth());
  for (std::size_t c = 0; c < 2; ++c) {
    const ListBox& l = p_.wordColumns[c];
    QListWidget* list = words_[c];
    if (wordItems_[c] != l.items) {
      list->clear();
      for (const std::string& word : l.items) list->addItem(DisplayText(word));
      wordItems_[c] = l.items;
    }
    list->setVisible(l.visible);
    if (list->width() != width) list->setFixedWidth(width);
    any = any || l.visible;
  }
  wordsPane_->setVisible(any);
}

void MainWindow::SyncPicture() {
  const bool shown = p_.picturePanel.visible;
  if (p_.picture.file != imageFile_ || p_.picture.stretch != imageStretch_) {
    QImage image = p_.picture.file.empty() ? QImage() : platform_.TakePicture(p_.picture.file);
    picture_->SetPicture(image, p_.picture.stretch);
    const QString name = QtPath(std::filesystem::path(p_.picture.file).filename());
    picture_->setAccessibleName(U("Картинка: ") + name);
    picture_->setToolTip(name);
    imageFile_ = p_.picture.file;
    imageStretch_ = p_.picture.stretch;
  }
  picture_->setVisible(p_.picture.visible);
  SetText(pictureClose_, ButtonCaption(p_.pictureClose.caption));
  pictureClose_->setVisible(p_.pictureClose.visible);
  if (picturePane_->isHidden() == shown) {
    picturePane_->setVisible(shown);
    ArrangePicture();
  }
}

void MainWindow::ArrangePicture() {
  const int room = storyArea_->width();
  const bool beside = room >= kPictureBesideCharacters * story_->fontMetrics().averageCharWidth() &&
                      room > storyArea_->height();
  const auto direction = beside ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom;
  if (storyBox_->direction() != direction) storyBox_->setDirection(direction);
}

void MainWindow::SyncFocus() {
  // A dialog open over the window keeps the keyboard.
  if (QApplication::activeModalWidget()) return;
  QWidget* f = focusWidget();
  if (p_.browserPanel.visible) {
    if (!f || !browserPanel_->isAncestorOf(f) || !f->isVisible()) browser_->TakeFocus();
    return;
  }
  const bool kept = f && f != input_ && f->isVisible() && centralWidget()->isAncestorOf(f) &&
                    !browserPanel_->isAncestorOf(f);
  if (!kept && f != input_ && input_->isVisible()) input_->setFocus();
}

void MainWindow::ApplyZoom() {
  const double z = options_.zoom;
  story_->setFont(Zoomed(StoryFont(), z));
  const QFont controls = Zoomed(InputFont(), z);
  input_->setFont(controls);
  for (AnswerButton* b : answers_) b->setFont(controls);
  for (QListWidget* l : words_) l->setFont(controls);
  title_->setFont(controls);
  for (StatusCell* c : cells_) c->setFont(controls);
  pictureClose_->setFont(controls);
  const int side = QFontMetrics(controls).height() + 10;
  pictureClose_->setFixedSize(side, side);
  ArrangePicture();
}

void MainWindow::SetZoom(double zoom) {
  zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
  if (zoom == options_.zoom) return;
  options_.zoom = zoom;
  ApplyZoom();
  SyncWords();
  SaveSettings();
}

void MainWindow::SetReadableMeasure(bool on) {
  options_.readableMeasure = on;
  story_->SetReadableMeasure(on);
  measureAction_->setChecked(on);
  SaveSettings();
}

void MainWindow::SetOwnColours(bool on) {
  options_.ownColours = on;
  ownColoursAction_->setChecked(on);
  SyncColours();
  SaveSettings();
}

void MainWindow::ChooseScheme(int scheme) {
  options_.ownScheme = scheme;
  if (scheme == kHighContrastScheme) {
    // Our own scheme is no game's: it can only be kept by the window.
    SetOwnColours(true);
    return;
  }
  EnterCommand(U("ЦВЕТОВАЯ ГАММА %1").arg(scheme));
  SyncColours();
  SaveSettings();
}

void MainWindow::ToggleFullScreen() {
  setWindowState(windowState() ^ Qt::WindowFullScreen);
  fullScreenAction_->setChecked(windowState() & Qt::WindowFullScreen);
  SaveSettings();
}

void MainWindow::EnterCommand(const QString& command) {
  Run([&] {
    p_.input.SetText(FromUtf8(command.toStdString()));
    p_.focus = Focus::Input;
    OnInputKey(p_, kEnter);
  });
  if (!p_.browserPanel.visible && input_->isVisible()) input_->setFocus();
}

bool MainWindow::AnswerByNumber(int number) {
  if (!p_.answers[0].visible || number < 0 || number > 12) return false;
  if (!p_.answers[static_cast<std::size_t>(number)].visible) return false;
  Run([&] { seams_.answerClicked(p_, number); });
  return true;
}

void MainWindow::WalkHistory(int step) {
  if (history_.empty()) return;
  if (historyAt_ == history_.size()) unsent_ = input_->text();
  std::size_t at = historyAt_;
  if (step < 0 && at > 0) --at;
  if (step > 0 && at < history_.size()) ++at;
  if (at == historyAt_) return;
  historyAt_ = at;
  const QString shown = at == history_.size() ? unsent_ : history_[at];
  input_->setText(shown);
  p_.input.text = FromUtf8(shown.toStdString());
}

void MainWindow::Enter() {
  const QString typed = input_->text();
  if (!typed.trimmed().isEmpty() && (history_.empty() || history_.back() != typed))
    history_.push_back(typed);
  historyAt_ = history_.size();
  unsent_.clear();
  // A key in the story area only moved the focus there; now the key goes on to the line.
  if (p_.focus == Focus::Story) Run([&] { OnStoryKey(p_, kEnter); });
  if (p_.focus == Focus::AnswerPanel && p_.input.text.empty())
    Run([&] { OnAnswerPanelKey(p_, kEnter); });
  else
    Run([&] { OnInputKey(p_, kEnter); });
}

bool MainWindow::InputKey(QKeyEvent* k) {
  const bool ctrl = k->modifiers() & Qt::ControlModifier;
  switch (k->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      Enter();
      return true;
    case Qt::Key_Up:
      WalkHistory(-1);
      return true;
    case Qt::Key_Down:
      WalkHistory(1);
      return true;
    case Qt::Key_PageUp:
      story_->ScrollPages(-1);
      return true;
    case Qt::Key_PageDown:
      story_->ScrollPages(1);
      return true;
    case Qt::Key_Home:
    case Qt::Key_End:
      if (!ctrl) return false;
      story_->ScrollToEnd(k->key() == Qt::Key_End);
      return true;
    case Qt::Key_Escape:
      ClosePictureOnEscape(k);
      return true;  // Esc in the line never does anything else
    default:
      break;
  }
  if (!Types(k)) return false;
  const QChar c = k->text().at(0);
  if (c.isDigit() && input_->text().isEmpty() && AnswerByNumber(c.digitValue())) return true;
  // Typing goes to the line whichever control the window last gave the keyboard: after a picture
  // the key is not spent on moving the focus, and during a dialogue it starts a command.
  if (p_.focus == Focus::Story) Run([&] { OnStoryKey(p_, KeyCode(k)); });
  if (p_.focus == Focus::AnswerPanel) p_.focus = Focus::Input;
  // The engine's key handler acts on Enter alone; other characters simply go into the line.
  return false;
}

void MainWindow::ForwardToInput(QKeyEvent* k) {
  input_->setFocus();
  QKeyEvent copy(k->type(), k->key(), k->modifiers(), k->text(), k->isAutoRepeat(),
                 static_cast<ushort>(k->count()));
  QCoreApplication::sendEvent(input_, &copy);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize && watched == storyArea_) {
    ArrangePicture();
    return false;
  }
  if (event->type() == QEvent::Resize && watched == answerBand_) {
    FitAnswerBand();
    return false;
  }
  if (event->type() == QEvent::Wheel) {
    auto* wheel = static_cast<QWheelEvent*>(event);
    if (!(wheel->modifiers() & Qt::ControlModifier)) return false;
    const int delta = wheel->angleDelta().y();
    if (delta != 0) SetZoom(ZoomStep(options_.zoom, delta > 0 ? 1 : -1));
    return true;
  }
  if (event->type() != QEvent::KeyPress) return false;
  auto* k = static_cast<QKeyEvent*>(event);
  if (watched == input_) return InputKey(k);
  if (ClosePictureOnEscape(k)) return true;
  if (auto* button = qobject_cast<QPushButton*>(watched)) {
    if (IsEnter(k)) {
      button->click();
      return true;
    }
    if (k->key() == Qt::Key_Space) return false;  // the button's own key
  }
  for (std::size_t c = 0; c < 2; ++c) {
    if (watched != words_[c]) continue;
    if (IsEnter(k) || k->key() == Qt::Key_Space) {
      const int row = words_[c]->currentRow();
      Run([&] { OnWordClicked(p_, static_cast<int>(c), row); });
      input_->setFocus();
      return true;
    }
  }
  if (Types(k) || (watched == story_ && IsEnter(k))) {
    ForwardToInput(k);
    return true;
  }
  return false;
}

void MainWindow::keyPressEvent(QKeyEvent* k) {
  // Nothing of the window had the keyboard: what was typed is meant for the line.
  if ((Types(k) || IsEnter(k)) && input_->isVisible() && !p_.browserPanel.visible) {
    ForwardToInput(k);
    return;
  }
  if (ClosePictureOnEscape(k)) return;
  QMainWindow::keyPressEvent(k);
}

bool MainWindow::ClosePictureOnEscape(const QKeyEvent* k) {
  if (k->key() != Qt::Key_Escape || !p_.picturePanel.visible) return false;
  pictureClose_->click();
  return true;
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!platform_.Ending()) {
    // Closing the window is leaving the game: the same question as the exit command, with a way
    // back.
    bool leave = true;
    Run([&] { leave = MayLeave(p_); });
    if (!leave && !platform_.Ending()) {
      event->ignore();
      input_->setFocus();
      return;
    }
    platform_.RequestEnd(kExitNormal);
  }
  SaveSettings();
  event->accept();
}

}  // namespace mireval
