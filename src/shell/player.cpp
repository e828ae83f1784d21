#include "shell/player.h"

namespace mireval {

Player::Player(Platform& p, std::filesystem::path dir) : platform(p), workDir(std::move(dir)) {}

void BeginGame(Player& p) {
  ++p.gamesStarted;
  p.WaitKey = false;
  p.EnterReady = true;
  p.OutputReady = true;
}

void EndWait(const Player& p, std::uint64_t before) {
  if (p.gamesStarted != before) throw GameReplaced{};
}

void RunEventHandler(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const GameReplaced&) {
  }
}

}  // namespace mireval
