// mircheck on a game made of the input: room1.txt, room0.txt and main.txt, separated by NUL bytes
// (the location target's inputs fit, so its seeds serve here too). Whatever the files hold, the
// check ends, and every finding names a line of its file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "checker/game_check.h"
#include "fuzz_game.h"

using namespace mireval;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fuzz::Folders folders;
  const auto parts = fuzz::SplitInput(data, size, 3);
  folders.Write("room1.txt", parts[0]);
  folders.Write("room0.txt", parts[1]);
  folders.Write("main.txt", parts[2]);
  for (const check::Finding& f : check::CheckGame(folders.game()).Sorted())
    if (f.line < 1 || f.file.empty() || f.code.empty()) std::abort();
  return 0;
}
