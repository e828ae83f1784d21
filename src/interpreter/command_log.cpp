#include "interpreter/command_log.h"

#include "base/files.h"
#include "base/lines.h"
#include "base/text.h"
#include "base/vocabulary.h"
#include "model/player.h"

namespace mireval {

void AppendCommandLog(Player& p, const std::string& first, const std::string& second) {
  // The room name is the author's text: quotes in it are doubled, so a line of the log is always
  // two fields.
  std::string record = QuotedField(first) + "," + QuotedField(second) + "\r\n";
  if (AppendToFile(p.WorkFile(words::kCommandLogFile), record) || p.logFailureReported) return;
  p.logFailureReported = true;
  // The command itself must not be lost over its log: say so once and play on without the log.
  p.platform.MessageBox(
      "Не удалось записать журнал команд logfile.txt. Игра продолжается без записи журнала."_cp);
}

}  // namespace mireval
