#include "shell/player.h"

#include <new>

#include "engine/text.h"

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
}

}  // namespace mireval
