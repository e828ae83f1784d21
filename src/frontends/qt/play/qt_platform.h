// The desktop port: Qt dialogs, waits that sleep in Qt's event loop, Qt Multimedia players and
// Qt's picture readers.
#pragma once

#include "frontends/qt/play/qt_media.h"
#include "platform/platform.h"

namespace mireval {

class MainWindow;

// Thrown by EndProgram and by a wait that sees the program ending. MainWindow::Run catches it
// where the window hands an event to the engine, so it never travels through Qt's own frames.
struct ProgramExit : ProgramEnding {
  using ProgramEnding::ProgramEnding;
};

class QtPlatform : public Platform {
 public:
  QtPlatform();
  ~QtPlatform() override;
  QtPlatform(const QtPlatform&) = delete;
  QtPlatform& operator=(const QtPlatform&) = delete;

  // The window drawn before every wait and dialog, and the owner of the dialogs.
  void SetWindow(MainWindow* window) { window_ = window; }

  void MessageBox(const std::string& text) override;
  // The message box with the place under the message: the file and line to look at.
  void ShowScriptError(const std::string& text, const std::string& place) override;
  bool AskYesNo(const std::string& text, Answer preferred = Answer::Yes) override;
  Choice AskYesNoCancel(const std::string& text) override;
  std::string InputBox(const std::string& title) override;
  // Draws the window, then sleeps in Qt's event loop until events arrive and handles them.
  void PumpEvents() override;
  void ProcessPendingEvents() override;
  [[noreturn]] void EndProgram(int status) override;
  void Beep() override;
  void OpenUrl(const std::string& url) override;
  MediaPlayer& MusicPlayer() override { return music_; }
  MediaPlayer& SoundPlayer() override { return sound_; }
  bool PictureSize(const std::filesystem::path& file, int& width, int& height) override;
  double ClockSeed() override;
  std::vector<std::string> DriveRoots() override;
  // The picture of `file` for the picture panel: the one PictureSize has just read when it was
  // that file, read again otherwise. Handed over, not kept.
  QImage TakePicture(const std::filesystem::path& file);

  // Marks the program as ending with `status` (the first status asked for wins) and tells Qt's
  // event loop to return. Whatever runs in the engine unwinds at its next wait or dialog.
  void RequestEnd(int status);
  bool Ending() const { return ending_; }
  int ExitStatus() const { return status_; }
  // How many waits are running now, nested inside each other's handlers.
  int WaitDepth() const { return waitDepth_; }

  QtMediaPlayer& Music() { return music_; }
  QtMediaPlayer& Sound() { return sound_; }

 private:
  // A modal message with OK; `place`, when given, under the message.
  void ShowMessage(const std::string& text, const std::string& place);
  void ThrowIfEnding() const;
  void Draw();

  MainWindow* window_ = nullptr;
  QtMediaPlayer music_, sound_;
  bool ending_ = false;
  int status_ = kExitNormal;
  int waitDepth_ = 0;
  // The picture PictureSize read last, until the panel takes it.
  std::filesystem::path measuredFile_;
  QImage measured_;
};

}  // namespace mireval
