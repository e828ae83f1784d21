#include "model/player.h"

#include <new>
#include <utility>

#include "base/text.h"

namespace mireval {

Player::Player(Platform& p, std::filesystem::path dir) : platform(p), workDir(std::move(dir)) {}

void BeginGame(Player& p) {
  ++p.gamesStarted;
  p.pauseWaiting = false;
  p.transitionWaiting = false;
  p.outputPaused = false;
}

void PendingWait::End() const {
  if (p_.gamesStarted != game_) throw GameReplaced{};
}

bool WaitPending(const Player& p) {
  return p.waitsPending > 0;
}

void StartGame(Player& p, std::function<void(Player&)> start) {
  if (!WaitPending(p)) {
    start(p);
    return;
  }
  BeginGame(p);
  p.gameToStart = std::move(start);
}

void RunEventHandler(Player& p, const std::function<void()>& handler) {
  try {
    handler();
  } catch (const GameReplaced&) {
  } catch (const std::bad_alloc&) {
    // Unwinding has given back what the handler held, so the message box has room again; should
    // it not, the player still goes on rather than end the game.
    try {
      p.platform.MessageBox(
          "Не хватает памяти, чтобы выполнить это действие (может быть, открываемый файл "
          "слишком велик). Действие прервано, игра продолжается."_cp);
    } catch (const std::bad_alloc&) {
    }
  }
  while (p.gameToStart && !WaitPending(p)) {
    auto start = std::exchange(p.gameToStart, nullptr);
    try {
      start(p);
    } catch (const GameReplaced&) {
    }
  }
}

}  // namespace mireval
