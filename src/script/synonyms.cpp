#include "script/synonyms.h"

#include "base/script_error.h"
#include "base/text.h"
#include "base/vocabulary.h"
#include "model/player.h"
#include "model/report.h"
#include "script/game_files.h"

namespace mireval {

namespace {

// What the table may hold in all. Every line that contains " = " adds the whole text before it as
// a main word and the whole text after it as a synonym, so a long line of many " = " would store
// the line again and again, up to the 2000 entries: gigabytes for a 10 MB line. A real table is a
// few kilobytes; a table that would outgrow this is treated as full.
constexpr std::size_t kTableBytes = std::size_t{16} << 20;

class Table {
 public:
  explicit Table(Player& p) : p_(p) {}

  // Collects the pairs of one line: every " = " from position 2 on starts a main word made of
  // all text before it, followed by its synonyms separated by ", ".
  void CollectLine(const std::string& line) {
    if (line.size() <= 3) return;
    for (std::size_t i = 1; i + 3 <= line.size(); ++i) {
      if (line.compare(i, 3, " = ") != 0) continue;
      const std::string_view main(line.data(), i);
      Store(p_.synonymCount + 1, main);
      const std::string_view rest = std::string_view(line).substr(i + 3);
      std::size_t from = 0;
      for (std::size_t sep; (sep = rest.find(", ", from)) != std::string_view::npos;
           from = sep + 1) {
        Store(p_.synonymCount + 2, DropLeadingBlank(rest.substr(from, sep - from)));
        Store(p_.synonymCount + 3, main);
        p_.synonymCount += 2;
      }
      Store(p_.synonymCount + 2, DropLeadingBlank(rest.substr(from)));
      p_.synonymCount += 2;
    }
  }

 private:
  static std::string_view DropLeadingBlank(std::string_view s) {
    if (!s.empty() && s[0] == ' ') s.remove_prefix(1);
    return s;
  }

  void Store(int index, std::string_view text) {
    if (index > kSynonymSlots) throw ScriptError("synonym table full");
    if (text.size() > kTableBytes - bytes_) throw ScriptError("synonym table too large");
    bytes_ += text.size();
    p_.synonyms[static_cast<std::size_t>(index)] = text;
  }

  Player& p_;
  std::size_t bytes_ = 0;
};

}  // namespace

void LoadLocationSynonyms(Player& p, const Variant& room) {
  p.synonymCount = 0;
  Table table(p);
  RunScriptStep(
      p, OnScriptError::ReportAndGoOn,
      [&] {
        for (const std::string& name :
             {RoomFileName(room), std::string(words::kCommonLocationFile)}) {
          ScopedGameFile file(p, name);
          while (!p.file.Eof()) {
            ReadScriptLine(p);
            StraightenDashes(p.line);
            table.CollectLine(p.line);
          }
        }
      },
      [&] { return LineErrorText(room, p.line); });
}

}  // namespace mireval
