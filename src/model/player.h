// The running player: the game state, the window model, the reading cursor and the generator, and
// the port to the outside. Every procedure of the player is a free function taking Player&.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string_view>

#include "base/random.h"
#include "base/script_reader.h"
#include "model/form.h"
#include "model/game_state.h"
#include "platform/platform.h"

namespace mireval {

struct Player : GameState, Form {
  Player(Platform& platform, std::filesystem::path workDir);
  Player(const Player&) = delete;
  Player& operator=(const Player&) = delete;

  Platform& platform;
  // The program's working folder: obloz.txt, start.txt, ifgames.txt, editor.txt and logfile.txt
  // live here.
  std::filesystem::path workDir;
  ScriptReader file;  // the one reading cursor over game files
  Random rng;
  // A game was named on the command line: it takes the place of start.txt, which is not read in
  // this run (at start-up, nor by the new-game and load commands).
  bool startFileIgnored = false;
  // logfile.txt could not be written and the player has been told; not repeated in this run.
  bool logFailureReported = false;
  // Games started or loaded in this run. A wait (an output pause, a transition) remembers it, since
  // the player may start or load another game while it waits.
  std::uint64_t gamesStarted = 0;
  // Waits (output pauses, transitions) on the call stack right now, released or not.
  int waitsPending = 0;
  // A game chosen while a wait was pending; it starts once that wait has unwound (StartGame).
  std::function<void(Player&)> gameToStart;

  std::filesystem::path WorkFile(std::string_view name) const { return workDir / name; }
};

// Thrown by a wait that ends after another game was started or loaded during it: what was running
// for the game before has nothing left to do, and unwinds to its event handler (RunEventHandler).
struct GameReplaced : Unwinding {};

// A game is about to start or load. The waits of the game before are released, and end by
// throwing GameReplaced when control returns to them.
void BeginGame(Player& p);

// Starts or loads a game through `start`: at once, or, while a wait is pending, after the waits
// have been released and have unwound to the outermost event handler, which then runs `start`.
// Started inside the wait, the new game's own waits would stand on the old one, and a player
// choosing game after game would deepen the stack without end.
void StartGame(Player& p, std::function<void(Player&)> start);

// One wait for Enter (an output pause, a transition) for as long as it is on the call stack. The
// handlers that run inside it must not start anything of the game's own: a second wait inside the
// first would let the input deepen the stack without end.
//
// After a wait returns, anything in the player context may have changed: the player may have saved,
// loaded, or closed the picture, and a game chosen meanwhile replaces this one once the waits have
// unwound (GameReplaced). Code after a wait reads the context afresh and keeps no reference into it
// from before.
class PendingWait {
 public:
  explicit PendingWait(Player& p) : p_(p), game_(p.gamesStarted) { ++p.waitsPending; }
  ~PendingWait() { --p_.waitsPending; }
  PendingWait(const PendingWait&) = delete;
  PendingWait& operator=(const PendingWait&) = delete;

  // The wait is over; throws GameReplaced when another game began while it waited.
  void End() const;

 private:
  Player& p_;
  std::uint64_t game_;
};

// While a wait is pending, a key, click or timer handler may release it, start or load a game, or
// change what is only shown, but never play: no answer, word click, command or screen of text.
bool WaitPending(const Player& p);

// Every event handler of the player runs through this: a handler left by a replaced game ends
// here quietly, one that ran out of memory is abandoned with a message, so that the player goes on
// with the game instead of ending, and a game chosen during a wait starts here once no wait is
// left. The front ends call it for each key, click and timer tick, and for start-up.
void RunEventHandler(Player& p, const std::function<void()>& handler);

// A game is running: one was started or loaded, so it has a title.
inline bool GameLoaded(const Player& p) {
  return !p.gameTitle.Text().empty();
}

}  // namespace mireval
