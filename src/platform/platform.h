// The port: everything the player needs from outside the program. The engine calls it; each front
// end implements it (the desktop window, the terminal player, the scripted double of the tests).
// All texts crossing this port are Windows-1251; front ends convert at their edge.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace mireval {

// One playback instance slot (the music or the sound). Every call may fail; failures are reported
// by the result and never thrown.
class MediaPlayer {
 public:
  virtual ~MediaPlayer() = default;
  // Stops and releases whatever this player holds; afterwards it holds nothing.
  virtual void Release() = 0;
  // Prepares playback of the file. False when it cannot be played.
  virtual bool Render(const std::filesystem::path& file) = 0;
  virtual bool SetPosition(double seconds) = 0;
  // Current position and length in seconds; nullopt when nothing is rendered or the query fails.
  virtual std::optional<double> Position() = 0;
  virtual std::optional<double> Duration() = 0;
  // Attenuation in hundredths of a decibel (0 = full volume, -100 = -1.00 dB); LinearGain gives
  // the factor that outputs taking a linear volume want.
  virtual bool SetVolume(int hundredthsOfDb) = 0;
  // -10000 (left) .. 10000 (right), 0 = centre.
  virtual bool SetBalance(int balance) = 0;
  // Starts playback and returns at once.
  virtual bool Run() = 0;
};

// An attenuation in hundredths of a decibel as a linear factor of the signal: 1 at 0, 0.891 at
// -1.00 dB.
double LinearGain(int hundredthsOfDb);

class Platform {
 public:
  enum class Answer { Yes, No };
  enum class Choice { Yes, No, Cancel };

  virtual ~Platform() = default;

  // Shows a modal message with an OK button and returns when it is dismissed. Lines of `text` are
  // separated by CR LF. Called from any procedure that reports an error or tells the player
  // something; may handle other events while it is open only if the front end's dialogs do.
  virtual void MessageBox(const std::string& text) = 0;
  // The same for a fault in the game's own files (a script error), which a front end may mark as
  // such (the terminal player's strict mode fails the run on one). `place` names the game file
  // and line it came from ("room3.txt:12", Windows-1251), or is empty when none is known.
  virtual void ShowScriptError(const std::string& text, const std::string& /*place*/) {
    MessageBox(text);
  }

  // Modal question with Yes and No buttons. Returns true for Yes. `preferred` is the answer that
  // Enter gives: No where a hasty Enter must not change the game.
  virtual bool AskYesNo(const std::string& text, Answer preferred = Answer::Yes) = 0;

  // The same question with a third answer that takes back the step which asked it (Cancel). Enter
  // gives Yes; closing the question or Esc gives Cancel. Default: the two-answer question, for
  // players that have no such button.
  virtual Choice AskYesNoCancel(const std::string& text) {
    return AskYesNo(text) ? Choice::Yes : Choice::No;
  }

  // Modal text-input dialog titled `title` with an empty proposed answer. Returns the answer as
  // typed; a cancelled dialog returns "".
  virtual std::string InputBox(const std::string& title) = 0;

  // Blocks until at least one input event (a key, a click, a closed window) has been handled and
  // returns. Every wait of the player is a loop around this call, so it must never spin: it sleeps
  // in the front end's event loop. Handlers run re-entrantly inside it. Closing the window inside
  // it ends the program (EndProgram).
  virtual void PumpEvents() = 0;

  // Handles the events that are already pending, without waiting. May do nothing.
  virtual void ProcessPendingEvents() = 0;

  // Ends the program at once with the exit status (0 normal, 3 after an error report). Never
  // returns: the terminal player and the tests unwind with an exception, the desktop quits.
  [[noreturn]] virtual void EndProgram(int status) = 0;

  // The system beep.
  virtual void Beep() = 0;

  // Asks the desktop to open a web address. Failures are ignored.
  virtual void OpenUrl(const std::string& url) = 0;

  // The two players. They live as long as the platform.
  virtual MediaPlayer& MusicPlayer() = 0;
  virtual MediaPlayer& SoundPlayer() = 0;

  // Reads the size of a picture file in pixels. False when the file is missing or not a picture.
  virtual bool PictureSize(const std::filesystem::path& file, int& width, int& height) = 0;

  // A number taken from the clock, used to re-seed the random generator. A scripted run returns
  // a fixed value so that it repeats exactly.
  virtual double ClockSeed() = 0;

  // Starts the player's one repeating timer: from now on the front end calls `tick` about every
  // `intervalMs` milliseconds for the rest of the run. A tick runs only between handled events
  // (inside PumpEvents, a dialog or the front end's own loop), never in the middle of a
  // procedure; ticks that fall due together are run once. Called once, by StartPlayer.
  // Default: no timer at all (music then plays only once).
  virtual void StartTimer(int intervalMs, std::function<void()> tick) {
    (void)intervalMs;
    (void)tick;
  }

  // The places the game browser's drive list offers, as folder paths (Windows-1251). Called each
  // time the browser is shown. Default: the file system's root and the user's home folder.
  virtual std::vector<std::string> DriveRoots();
};

constexpr int kExitNormal = 0;
constexpr int kExitAfterError = 3;

// The exceptions that unwind the engine on purpose rather than because something failed: the end of
// the program (each player's EndProgram throws its own kind, carrying the exit status) and a game
// replaced while waits of the one before were pending. None derives from std::exception, so a
// handler that reports failures never takes one for a failure.
struct Unwinding {};
struct ProgramEnding : Unwinding {
  explicit ProgramEnding(int exitStatus) : status(exitStatus) {}
  int status;
};

}  // namespace mireval
