// The terminal player's port: input lines from a stream, a running transcript on another.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>

#include "frontends/term/term_input.h"
#include "platform/platform.h"

namespace mireval {

struct Player;
struct TextBox;

// Thrown by EndProgram; the terminal player's main returns its status.
struct TermExit : ProgramEnding {
  using ProgramEnding::ProgramEnding;
};

// A player that keeps what it is told and reports a fixed position (terminal play has no sound).
class SilentPlayer : public MediaPlayer {
 public:
  void Release() override { file_.clear(); }
  bool Render(const std::filesystem::path& file) override;
  bool SetPosition(double) override { return !file_.empty(); }
  std::optional<double> Position() override { return std::nullopt; }
  std::optional<double> Duration() override { return std::nullopt; }
  bool SetVolume(int) override { return !file_.empty(); }
  bool SetBalance(int) override { return !file_.empty(); }
  bool Run() override { return !file_.empty(); }

 private:
  std::string file_;
};

class TermPlatform : public Platform {
 public:
  // `strict`: a script error, or a typed line a wait throws away, fails the run as a failed
  // expectation does.
  TermPlatform(std::istream& in, std::ostream& out, std::optional<long> seed, bool strict = false);
  // Starts reporting on this player; its labels as they are now count as already shown.
  void Attach(Player& p);

  void MessageBox(const std::string& text) override;
  // The message, then "!> FILE:LINE" when the place is known.
  void ShowScriptError(const std::string& text, const std::string& place) override;
  bool AskYesNo(const std::string& text, Answer preferred = Answer::Yes) override;
  std::string InputBox(const std::string& title) override;
  void PumpEvents() override;
  void ProcessPendingEvents() override {}
  [[noreturn]] void EndProgram(int status) override;
  void Beep() override {}
  void OpenUrl(const std::string& url) override;
  MediaPlayer& MusicPlayer() override { return music_; }
  MediaPlayer& SoundPlayer() override { return sound_; }
  bool PictureSize(const std::filesystem::path& file, int& width, int& height) override;
  double ClockSeed() override;
  // The timer is checked before each input line is read: a terminal waits only there.
  void StartTimer(int intervalMs, std::function<void()> tick) override;

  // Prints what changed since the last call: story text, status line, answers, word columns.
  void Flush();

  // Whether an expectation failed (or, in strict mode, a script error or a lost line came).
  bool Failed() const { return failures_ > 0; }

 private:
  std::optional<std::string> ReadInputLine();
  // Flush, then a line break unless the output stands at the start of a line.
  void FlushToLineStart();
  // Prints a question ("?? " + the prompt) and returns the next input line; the end of the input
  // ends the program.
  std::string Ask(const std::string& promptUtf8);
  // Carries out one input line: types it, or runs its "/" action.
  void Handle(const std::string& line);
  // Chooses a save file in the game browser, as `/load` names it.
  void LoadSavedGame(const std::string& typedPath);
  void Type(const std::string& utf8);
  // Checks one walkthrough expectation; a failure prints "XX <input line>: expected …, found …".
  void Check(const TermAction& expectation);
  void Fail(const std::string& what);
  void Print(const std::string& utf8);
  // The story text that is new since the last call: all of it, after a separator line, when the
  // story area was replaced; otherwise what was added.
  void PrintStory();
  void PrintReplacedStory(const TextBox& t);
  void PrintStoryGrowth(const TextBox& t);
  // Prints `lines` when they differ from `shown`, starting on a line of their own, and remembers
  // them; nothing when they are gone.
  void PrintWhenChanged(const std::string& lines, std::string& shown);
  void RunTimerIfDue();

  std::istream& in_;
  std::ostream& out_;
  std::optional<long> seed_;
  bool strict_;
  long inputLine_ = 0;  // the number of the input line read last
  int failures_ = 0;
  // The output printed since the last typed line, for /expect; lines of the player's own
  // (/state, failures) are left out.
  std::string sinceTyped_;
  bool ownLine_ = false;
  Player* player_ = nullptr;
  SilentPlayer music_, sound_;
  std::function<void()> tick_;
  std::chrono::milliseconds timerInterval_{0};
  std::chrono::steady_clock::time_point lastTick_;

  bool atLineStart_ = true;
  bool storyKnown_ = false;
  std::uint64_t storyGeneration_ = 0;
  std::uint64_t storyDropped_ = 0;
  std::string storyPrinted_;
  // The status, answer and word column lines as last printed.
  std::string status_, buttons_, words_;
};

}  // namespace mireval
