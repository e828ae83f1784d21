#include "shell/player.h"

#include <utility>

namespace mireval {

Player::Player(Platform& p, std::filesystem::path dir) : platform(p), workDir(std::move(dir)) {}

void BeginGame(Player& p) {
  ++p.gamesStarted;
  p.WaitKey = false;
  p.EnterReady = true;
  p.OutputReady = true;
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
