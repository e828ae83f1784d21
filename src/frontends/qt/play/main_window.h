// The desktop window of the player: lays the window model (Form) out with Qt layouts, so that it
// resizes, zooms and follows the screen's scale, and hands every key, click and timer tick to the
// engine's handlers. It keeps no game state of its own; what it keeps is the player's view (text
// size, colours of their own, window size), remembered between runs.
#pragma once

#include <QMainWindow>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/seams.h"
#include "frontends/qt/play/view_options.h"

class QAction;
class QBoxLayout;
class QGridLayout;
class QHBoxLayout;
class QLineEdit;
class QListWidget;
class QPushButton;
class QStackedLayout;
class QVBoxLayout;

namespace mireval {

class AnswerButton;
class BrowserView;
class PictureView;
class QtPlatform;
class StatusCell;
class StoryEdit;
class StoryView;
struct Player;

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  MainWindow(Player& p, QtPlatform& platform, Seams seams = EngineSeams());
  ~MainWindow() override;

  // Makes every widget show what the window model holds.
  void Sync();

  // Runs one engine handler. The end of the program and unexpected failures stop here, so nothing
  // is ever thrown through Qt; afterwards the window shows the new state. Does nothing once the
  // program is ending.
  void Run(const std::function<void()>& handler);

  // The title of the program's dialogs: the window model's caption.
  QString DialogTitle() const;

  // How often the story area was rewritten rather than appended to.
  int StoryRewrites() const;

  // The player's view: the same as the menu's entries do.
  const ViewOptions& Options() const { return options_; }
  void SetZoom(double zoom);
  void SetReadableMeasure(bool on);
  void SetOwnColours(bool on);
  void ChooseScheme(int scheme);
  void ToggleFullScreen();
  // Runs a command as if it were typed into the input line and entered.
  void EnterCommand(const QString& command);

  // The window's size and state as they are kept for the next run. Tests point it elsewhere.
  static QString SettingsOrganisation();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void BuildWidgets();
  void BuildMenus();
  void RestoreGeometry();
  void SaveSettings();

  void SyncStatus();
  void SyncAnswers();
  void SyncWords();
  void SyncPicture();
  void SyncColours();
  void SyncFocus();
  void FitAnswerBand();
  void ArrangePicture();
  void ApplyZoom();

  bool InputKey(QKeyEvent* key);
  void Enter();
  void WalkHistory(int step);
  void ForwardToInput(QKeyEvent* key);
  // Esc closes the picture wherever the keyboard is; true when it did.
  bool ClosePictureOnEscape(const QKeyEvent* key);
  bool AnswerByNumber(int number);

  Player& p_;
  QtPlatform& platform_;
  Seams seams_;
  ViewOptions options_;

  StatusCell* title_;
  std::array<StatusCell*, 3> cells_{};  // location, character, moves and score
  QHBoxLayout* cellsRow_;
  QGridLayout* grid_;
  QStackedLayout* centre_;  // the story with its picture, or the game browser
  QWidget* storyArea_;
  QBoxLayout* storyBox_;
  StoryEdit* story_;
  QWidget* picturePane_;
  PictureView* picture_;
  QPushButton* pictureClose_;
  QWidget* answerBand_;
  QVBoxLayout* answerBox_;
  std::array<AnswerButton*, 13> answers_{};
  std::vector<int> answerOrder_;
  QWidget* wordsPane_;
  std::array<QListWidget*, 2> words_{};
  std::array<std::vector<std::string>, 2> wordItems_;
  QLineEdit* input_;
  QWidget* browserPanel_;
  QAction* fullScreenAction_ = nullptr;
  QAction* measureAction_ = nullptr;
  QAction* ownColoursAction_ = nullptr;

  std::string imageFile_;
  bool imageStretch_ = false;
  WindowColours colours_;
  bool coloursKnown_ = false;
  std::vector<QString> history_;
  std::size_t historyAt_ = 0;
  QString unsent_;  // what the line held before the history was walked
  QTimer timer1_;
  std::unique_ptr<StoryView> storyView_;
  std::unique_ptr<BrowserView> browser_;
};

}  // namespace mireval
