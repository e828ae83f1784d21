// A port for tests: queued input events, recorded message boxes, preset answers, fake media.
#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace mireval {

struct Player;

// Thrown by EndProgram.
struct ProgramEnded : ProgramEnding {
  using ProgramEnding::ProgramEnding;
};
// Thrown when the player waits for input and the script has none left, so a test never hangs.
struct InputExhausted : Unwinding {};

// A media player whose calls are recorded and whose position and duration the test sets.
class FakeMediaPlayer : public MediaPlayer {
 public:
  void Release() override;
  bool Render(const std::filesystem::path& file) override;
  bool SetPosition(double seconds) override;
  std::optional<double> Position() override;
  std::optional<double> Duration() override;
  bool SetVolume(int v) override;
  bool SetBalance(int b) override;
  bool Run() override;

  std::vector<std::string> calls;  // "Release", "Render <file>", "Run" ...
  std::string rendered;            // file of the current playback, empty when none
  bool running = false;
  double position = 0;
  double duration = 0;
  int volume = 0;
  int balance = 0;
};

class ScriptedPlatform : public Platform {
 public:
  void Attach(Player& p) { player_ = &p; }

  // Queues typing `utf8` into the input line and pressing Enter.
  void Enter(const std::string& utf8 = "");
  // Queues any action on the player.
  void Then(std::function<void(Player&)> action);
  std::size_t Pending() const { return events_.size(); }
  // Plays the queued events as a front end does, each through its event handler.
  void PlayQueued();
  // Queues an action that is already waiting when a handler has the pending events processed
  // (the second click of a double click, say).
  void Behind(std::function<void(Player&)> action) { behind_.push_back(std::move(action)); }

  void MessageBox(const std::string& text) override;
  // Recorded among the messages, its place (UTF-8, "" when none) in `scriptErrorPlaces`.
  void ShowScriptError(const std::string& text, const std::string& place) override;
  bool AskYesNo(const std::string& text, Answer preferred = Answer::Yes) override;
  std::string InputBox(const std::string& title) override;
  void PumpEvents() override;
  void ProcessPendingEvents() override;
  [[noreturn]] void EndProgram(int status) override;
  void Beep() override { ++beeps; }
  void OpenUrl(const std::string& url) override { urls.push_back(url); }
  MediaPlayer& MusicPlayer() override { return music; }
  MediaPlayer& SoundPlayer() override { return sound; }
  bool PictureSize(const std::filesystem::path& file, int& width, int& height) override;
  double ClockSeed() override { return seed; }
  void StartTimer(int intervalMs, std::function<void()> tick) override;
  std::vector<std::string> DriveRoots() override { return drives; }

  // Runs the timer's tick as the front end would when its interval has passed.
  void FireTimer();

  // Messages shown so far, in UTF-8.
  std::vector<std::string> messages;
  std::vector<std::string> scriptErrorPlaces;
  std::vector<std::string> questions;
  std::vector<Answer> preferredAnswers;  // of each Yes/No question, in order
  std::vector<std::string> urls;
  std::deque<bool> yesNoAnswers;
  std::deque<std::string> inputAnswers;  // UTF-8
  int beeps = 0;
  int pumps = 0;
  double seed = 1;
  FakeMediaPlayer music, sound;
  int timerInterval = 0;                 // 0 until the timer is started
  std::vector<std::string> drives{"/"};  // the browser's drive list (Windows-1251)

 private:
  Player* player_ = nullptr;
  std::deque<std::function<void(Player&)>> events_;
  std::deque<std::function<void(Player&)>> behind_;
  std::function<void()> tick_;
};

}  // namespace mireval
