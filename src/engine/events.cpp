#include "engine/events.h"

#include <string>

#include "engine/game_files.h"
#include "engine/locations.h"
#include "engine/report.h"
#include "engine/script_error.h"
#include "engine/text.h"
#include "presentation/output.h"
#include "shell/player.h"

namespace mireval {

void PodschetSob(Player& p, long n) {
  static const std::string prefix = "СОБ "_cp;
  const std::string number = std::to_string(n);
  try {
    ForEachLocationLine(p, [&] {
      const std::string& s = p.Stroka;
      if (s.size() < 4 || !EqualsNoCase(std::string_view(s).substr(0, 4), prefix)) return;
      if (s.compare(4, number.size(), number) != 0) return;
      std::size_t blank = 4 + number.size();
      if (blank >= s.size() || s[blank] != ' ') return;
      p.Stroka = s.substr(blank + 1);
      RightStroka(p.Stroka);
      p.T.Append(p.Stroka + "\r\n");
      WhP(p, std::string(p.Stroka));
    });
  } catch (const ScriptError&) {
    CloseGameFileAndTemp(p);
    p.platform.MessageBox("Ошибка при подсчете события в строке "_cp + QuotedLine(p.Stroka) +
                          " в локации №"_cp + p.Room.Text());
  }
}

}  // namespace mireval
