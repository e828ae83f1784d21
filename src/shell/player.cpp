#include "shell/player.h"

namespace mireval {

Player::Player(Platform& p, std::filesystem::path dir) : platform(p), workDir(std::move(dir)) {}

}  // namespace mireval
