#include "commands/command_log.h"

#include "engine/files.h"
#include "engine/text.h"
#include "shell/player.h"

namespace mireval {

void AppendCommandLog(Player& p, const std::string& first, const std::string& second) {
  std::string record = "\"" + first + "\",\"" + second + "\"\r\n";
  if (AppendToFile(p.WorkFile("logfile.txt"), record) || p.logFailureReported) return;
  p.logFailureReported = true;
  // The command itself must not be lost over its log: say so once and play on without the log.
  p.platform.MessageBox(
      "Не удалось записать журнал команд logfile.txt. Игра продолжается без записи журнала."_cp);
}

}  // namespace mireval
