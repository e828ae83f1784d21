// Typing a command and pressing Enter goes through the keys of the whole program; only the tests
// that type link this, so the lower layers' tests need nothing above them.
#include "app/keys.h"
#include "base/text.h"
#include "interpreter/main_file.h"
#include "model/player.h"
#include "support/scripted_platform.h"
#include "support/test_game.h"

namespace mireval {

void ScriptedPlatform::Enter(const std::string& utf8) {
  events_.push_back([utf8](Player& p) {
    p.input.SetText(FromUtf8(utf8));
    OnInputKey(p, kEnter);
  });
}

void TestPlayer::StartGame() {
  WriteGameFrame(game());
  UseGameDir();
  platform.Enter();
  NewGame(p);
}

}  // namespace mireval
