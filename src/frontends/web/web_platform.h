// The browser's port: the engine runs as the program's one thread, and every wait of the player
// yields to the page (asyncify) until the page sends the next event. The page is told the whole
// view after each handled event, and answers the engine's dialogs.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "app/seams.h"
#include "frontends/web/web_media.h"
#include "platform/platform.h"

namespace mireval {

struct Player;

// Thrown by EndProgram; main tells the page that the program has ended.
struct WebExit : ProgramEnding {
  using ProgramEnding::ProgramEnding;
};

// One event from the page, as bridge.js queued it (README.md lists them).
struct PageEvent {
  std::string type;
  // The input line's text when the event came (UTF-8); the line is the page's, so the engine
  // learns its text with every event.
  std::optional<std::string> input;
  std::string text;  // "command": the command; "open", "load", "drive", "folder": the path
  int index = 0;     // "answer", "word", "file"
  int column = 0;    // "word": 0 for К1, 1 for К2
};

class WebPlatform : public Platform {
 public:
  explicit WebPlatform(std::optional<long> seed) : seed_(seed), seams_(EngineSeams()) {}
  void Attach(Player& p) { player_ = &p; }

  void MessageBox(const std::string& text) override;
  void ShowScriptError(const std::string& text, const std::string& place) override;
  bool AskYesNo(const std::string& text, Answer preferred = Answer::Yes) override;
  Choice AskYesNoCancel(const std::string& text) override;
  std::string InputBox(const std::string& title) override;
  // Shows the view, yields to the page until it sends an event, and handles that event.
  void PumpEvents() override;
  void ProcessPendingEvents() override {}
  [[noreturn]] void EndProgram(int status) override;
  void Beep() override;
  void OpenUrl(const std::string& url) override;
  MediaPlayer& MusicPlayer() override { return music_; }
  MediaPlayer& SoundPlayer() override { return sound_; }
  bool PictureSize(const std::filesystem::path& file, int& width, int& height) override;
  double ClockSeed() override;
  // The page's runtime queues a "tick" event at each interval (one at most waits in the queue).
  void StartTimer(int intervalMs, std::function<void()> tick) override;
  // The in-memory folder of games (GamesFolder), where the browser starts.
  std::vector<std::string> DriveRoots() override;

  // Sends the page the view, when it changed since it was last sent.
  void PublishView();
  // Carries out one event of the page.
  void Handle(const PageEvent& event);

 private:
  std::optional<long> seed_;
  Seams seams_;
  Player* player_ = nullptr;
  WebMediaPlayer music_{0}, sound_{1};
  std::function<void()> tick_;
  std::string shownView_;
};

// Where the games live in the browser's file system (kept in IndexedDB), and where the games built
// into the page are unpacked.
inline constexpr const char* kGamesFolder = "/games";
inline constexpr const char* kBuiltInGamesFolder = "/builtin";
// The program folder: the cover, the games list, start.txt.
inline constexpr const char* kProgramFolder = "/program";

}  // namespace mireval
