// A location played from its files: the input is room1.txt, room0.txt and the lines the player
// types, separated by NUL bytes. The location is entered (synonyms, description, automatic
// dialogue, score pass, word columns), every line is typed and followed by a click on the first
// answer, and a talk command opens the location's dialogue.
#include <cstddef>
#include <cstdint>

#include "base/text.h"
#include "fuzz_game.h"
#include "interpreter/dialogue.h"
#include "interpreter/locations.h"
#include "script/game_files.h"
#include "script/synonyms.h"

using namespace mireval;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fuzz::Folders folders;
  const auto parts = fuzz::SplitInput(data, size, 3);
  folders.Clean();
  folders.Write("room1.txt", parts[0]);
  folders.Write("room2.txt", parts[0]);  // so that a transition to location 2 finds a file
  folders.Write("room0.txt", parts[1]);

  ScriptedPlatform platform;
  Player p(platform, folders.work());
  platform.Attach(p);
  SetGameFolder(p, folders.game());
  p.location = 1;
  const auto clickFirstAnswer = [](Player& q) { OnAnswerClicked(q, 1); };
  fuzz::QueueLines(platform, parts[2], 8, clickFirstAnswer, 4);
  platform.Enter(ToUtf8("диалог"_cp));
  platform.Then(clickFirstAnswer);
  platform.Then([](Player& q) { OnAnswerClicked(q, 2); });
  for (int i = 0; i < 6; ++i) platform.Enter();

  fuzz::Play(p, [&] {
    LoadLocationSynonyms(p, p.location);
    ShowRoom(p);
    for (;;) platform.PumpEvents();
  });
  return 0;
}
