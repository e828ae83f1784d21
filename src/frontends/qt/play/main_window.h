// The desktop window of the player: draws the window model (Form) onto Qt widgets and hands every
// key, click and timer tick to the engine's handlers. It keeps no game state of its own.
#pragma once

#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "frontends/qt/play/seams.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace mireval {

class BrowserView;
class QtPlatform;
class StoryView;
struct Player;

class MainWindow : public QWidget {
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

  // How often the story area was rewritten rather than appended to.
  int StoryRewrites() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void SyncStatus();
  void SyncAnswers();
  void SyncWords();
  void SyncPicture();
  void SyncFocus();

  Player& p_;
  QtPlatform& platform_;
  Seams seams_;

  QPlainTextEdit* T_;
  QLineEdit* Text1_;
  QLineEdit* Text2_;
  std::array<QPushButton*, 13> Command1_{};
  std::array<QListWidget*, 2> List1_{};
  std::array<std::vector<std::string>, 2> words_;
  std::array<QLabel*, 5> Label1_{};  // there is no label 3
  QWidget* Picture1_;
  QWidget* Picture3_;
  QLabel* Image3_;
  QPushButton* Command3_;
  std::string imageFile_;
  QTimer timer1_;
  std::unique_ptr<StoryView> story_;
  std::unique_ptr<BrowserView> browser_;
};

}  // namespace mireval
