#include "script/location_files.h"

#include "model/player.h"
#include "script/game_files.h"

namespace mireval {

std::string CurrentRoomFile(const Player& p) {
  return RoomFileName(p.Room);
}

std::array<std::string, 2> LocationFiles(const Player& p) {
  return {CurrentRoomFile(p), "room0.txt"};
}

void ForEachLocationLine(Player& p, const std::function<void()>& each) {
  for (const std::string& name : LocationFiles(p)) {
    OpenGameFile(p, name);
    ReadScriptLine(p);
    while (!p.file.Eof()) {
      ReadPlainLine(p);
      each();
    }
    CloseGameFileAndTemp(p);
  }
}

}  // namespace mireval
