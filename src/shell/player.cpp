#include "shell/player.h"

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

void RunEventHandler(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const GameReplaced&) {
  }
}

}  // namespace mireval
