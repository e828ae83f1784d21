#include "interpreter/events.h"

#include <string>

#include "base/script_error.h"
#include "base/text.h"
#include "base/vocabulary.h"
#include "interpreter/locations.h"
#include "model/player.h"
#include "model/report.h"
#include "script/game_files.h"
#include "view/output.h"

namespace mireval {

bool IsEventLine(std::string_view line) {
  return line.size() >= 4 && EqualsNoCase(line.substr(0, 4), words::kEvent);
}

void EventLines::Add(const std::string& line) {
  ++read_;
  last_ = line;
  lastKey_.clear();
  if (!IsEventLine(line)) return;
  // A line is an event line of n when the decimal n stands from the fifth character on and a
  // blank follows it: the characters up to the first blank are the only n it can belong to.
  const std::size_t blank = line.find(' ', 4);
  if (blank == std::string::npos || blank == 4) return;
  lastKey_ = line.substr(4, blank - 4);
  byNumber_[lastKey_].push_back({line.substr(blank + 1), {name_, read_}});
}

const std::vector<EventLines::Text>* EventLines::Find(const std::string& number) const {
  auto it = byNumber_.find(number);
  return it == byNumber_.end() ? nullptr : &it->second;
}

void ReadEventLines(Player& p, const std::string& name, EventLines& lines,
                    const std::function<void()>& each) {
  lines = EventLines();
  ScopedGameFile file(p, name);
  ReadScriptLine(p);
  lines.First(name, p.line);
  while (!p.file.Eof()) {
    ReadPlainLine(p);
    lines.Add(p.line);
    if (each) each();
  }
}

void RunEventsPass(Player& p, long n, const std::function<const EventLines&(int)>& file) {
  const std::string number = std::to_string(n);
  RunScriptStep(
      p, OnScriptError::ReportAndGoOn,
      [&] {
        for (int i = 0; i < 2; ++i) {
          const EventLines& lines = file(i);
          if (const std::vector<EventLines::Text>* texts = lines.Find(number)) {
            for (const EventLines::Text& event : *texts) {
              p.line = event.text;
              p.place = event.place;
              StraightenDashes(p.line);
              p.story.Append(p.line + "\r\n");
              WriteStoryLine(p, std::string(p.line));
            }
          }
          // Reading on to the end of the file leaves its last line in `line`, unless that was the
          // event line just written.
          if (lines.LastKey() != number) p.line = lines.Last();
        }
      },
      [&] {
        return "Ошибка при подсчете события в строке "_cp + QuotedLine(p.line) + " в локации №"_cp +
               p.location.Text();
      });
}

void RunEventsPass(Player& p, long n) {
  EventLines lines;
  RunEventsPass(p, n, [&](int i) -> const EventLines& {
    ReadEventLines(p, LocationFiles(p)[static_cast<std::size_t>(i)], lines);
    return lines;
  });
}

}  // namespace mireval
