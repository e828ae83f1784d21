#include "engine/events.h"

#include <string>

#include "engine/game_files.h"
#include "engine/locations.h"
#include "engine/script_error.h"
#include "engine/text.h"
#include "presentation/output.h"
#include "shell/player.h"

namespace mireval {

void PodschetSob(Player& p, long n) {
  static const std::string prefix = "СОБ "_cp;
  const std::string number = std::to_string(n);
  try {
    for (const std::string& name : LocationFiles(p)) {
      OpenGameFile(p, name);
      ReadScriptLine(p);
      while (!p.file.Eof()) {
        ReadPlainLine(p);
        const std::string& s = p.Stroka;
        if (s.size() < 4 || Upper(s.substr(0, 4)) != prefix) continue;
        if (s.compare(4, number.size(), number) != 0) continue;
        std::size_t blank = 4 + number.size();
        if (blank >= s.size() || s[blank] != ' ') continue;
        p.Stroka = s.substr(blank + 1);
        RightStroka(p.Stroka);
        p.T.Append(p.Stroka + "\r\n");
        WhP(p, std::string(p.Stroka));
      }
      CloseGameFileAndTemp(p);
    }
  } catch (const ScriptError&) {
    CloseGameFileAndTemp(p);
    p.platform.MessageBox("Ошибка при подсчете события в строке "_cp + p.Stroka +
                          " в локации №"_cp + p.Room.Text());
  }
}

}  // namespace mireval
