#include "script/location_files.h"

#include "base/vocabulary.h"
#include "model/player.h"
#include "script/game_files.h"

namespace mireval {

std::string CurrentRoomFile(const Player& p) {
  return RoomFileName(p.location);
}

std::array<std::string, 2> LocationFiles(const Player& p) {
  return {CurrentRoomFile(p), std::string(words::kCommonLocationFile)};
}

void ForEachLocationLine(Player& p, const std::function<void()>& each) {
  for (const std::string& name : LocationFiles(p)) {
    ScopedGameFile file(p, name);
    ReadScriptLine(p);
    while (!p.file.Eof()) {
      ReadPlainLine(p);
      each();
    }
  }
}

}  // namespace mireval
