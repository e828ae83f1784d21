// The save loader: the input is a save file in the demo game's folder. A file that loads must
// describe its location, save again and load back to the same state.
#include <cstddef>
#include <cstdint>

#include "app/save_load.h"
#include "fuzz_game.h"

using namespace mireval;

namespace {

// What a save keeps and a description cannot change (the conditions can: the score pass and
// random-condition lines run again when the location is described after the load).
std::string Snapshot(const Player& p) {
  std::string s = p.location.Text() + "|" + p.character[1].Text() + "|" + p.character[2].Text() +
                  "|" + p.moves.Text() + "|" + p.gameTitle.Text();
  for (int i = 1; i <= 6; ++i) s += "|" + p.characterWords[i].Text();
  for (int i = 1; i <= kPictureSlots; ++i) s += "|" + p.pictureFiles[i];
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fuzz::Folders folders(DEMO_GAME_DIR);
  folders.Clean();
  folders.Write("fuzz.sav", std::string_view(reinterpret_cast<const char*>(data), size));

  ScriptedPlatform platform;
  Player p(platform, folders.work());
  platform.Attach(p);
  for (int i = 0; i < 6; ++i) platform.Enter();
  fuzz::Play(p, [&] {
    if (!LoadSavedGame(p, folders.game(), "fuzz.sav")) return;
    const std::string loaded = Snapshot(p);
    platform.inputAnswers.push_back("again");
    if (!SaveGame(p)) __builtin_trap();
    if (!LoadSavedGame(p, folders.game(), "again.sav")) __builtin_trap();
    if (Snapshot(p) != loaded) __builtin_trap();
  });
  return 0;
}
