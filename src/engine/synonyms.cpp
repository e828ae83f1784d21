#include "engine/synonyms.h"

#include "engine/game_files.h"
#include "engine/report.h"
#include "engine/script_error.h"
#include "engine/text.h"
#include "shell/player.h"

namespace mireval {

namespace {

void Store(Player& p, int index, std::string text) {
  if (index > kSynonymSlots) throw ScriptError("synonym table full");
  p.Sinonim[static_cast<std::size_t>(index)] = std::move(text);
}

std::string DropLeadingBlank(std::string s) {
  if (!s.empty() && s[0] == ' ') s.erase(0, 1);
  return s;
}

// Collects the pairs of one line: every " = " from position 2 on starts a main word made of all
// text before it, followed by its synonyms separated by ", ".
void CollectLine(Player& p, const std::string& line) {
  if (line.size() <= 3) return;
  for (std::size_t i = 1; i + 3 <= line.size(); ++i) {
    if (line.compare(i, 3, " = ") != 0) continue;
    std::string main = line.substr(0, i);
    Store(p, p.SinonimCount + 1, main);
    std::string rest = line.substr(i + 3);
    std::size_t from = 0;
    for (std::size_t sep; (sep = rest.find(", ", from)) != std::string::npos; from = sep + 1) {
      Store(p, p.SinonimCount + 2, DropLeadingBlank(rest.substr(from, sep - from)));
      Store(p, p.SinonimCount + 3, main);
      p.SinonimCount += 2;
    }
    Store(p, p.SinonimCount + 2, DropLeadingBlank(rest.substr(from)));
    p.SinonimCount += 2;
  }
}

}  // namespace

void RoomSinonims(Player& p, const Variant& room) {
  p.SinonimCount = 0;
  try {
    for (const std::string& name : {"room" + room.Text() + ".txt", std::string("room0.txt")}) {
      p.TempUsed = false;
      OpenGameFile(p, name);
      while (!p.file.Eof()) {
        ReadScriptLine(p);
        RightStroka(p.Stroka);
        CollectLine(p, p.Stroka);
      }
      CloseGameFileAndTemp(p);
    }
  } catch (const ScriptError&) {
    CloseGameFileAndTemp(p);
    p.platform.MessageBox("Ошибка в строке: "_cp + "\r\n" + p.Stroka + "\r\n" + "(комната №"_cp +
                          room.Text() + ")");
  }
}

}  // namespace mireval
