#include "commands/command_log.h"

#include "engine/files.h"
#include "engine/text.h"
#include "shell/player.h"

namespace mireval {

void AppendCommandLog(Player& p, const std::string& first, const std::string& second) {
  std::string record = "\"" + first + "\",\"" + second + "\"\r\n";
  if (AppendToFile(p.WorkFile("logfile.txt"), record) || p.logFailureReported) return;
  p.logFailureReported = true;
  p.platform.MessageBox("Не удалось записать журнал команд logfile.txt. Игра продолжается без него."_cp);
}

}  // namespace mireval
