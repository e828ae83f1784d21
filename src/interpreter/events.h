#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/script_reader.h"

namespace mireval {

struct Player;

// Writes every event line of condition n, the location's first, then room0.txt's.
void RunEventsPass(Player& p, long n);

// A line that begins with "СОБ " in any letter case: an event line, of the condition whose number
// follows, when a blank closes that number.
bool IsEventLine(std::string_view line);

// The event lines of one location file, gathered while the file is read for something else, so
// that a score pass can fire any number of events without reading its files again.
class EventLines {
 public:
  // An event line's text after its number, and where the line stands.
  struct Text {
    std::string text;
    ScriptPlace place;
  };

  // The first line of the file `name`, then every line after it, as read.
  void First(const std::string& name, const std::string& line) {
    name_ = name;
    read_ = 1;
    last_ = line;
  }
  void Add(const std::string& line);

  // The event lines of `number` (as digits), in file order.
  const std::vector<Text>* Find(const std::string& number) const;
  // The key Add filed the last line under, empty when it was no event line.
  const std::string& LastKey() const { return lastKey_; }
  // `line` as the reading of the file left it: its last line, or the first when there is no other.
  const std::string& Last() const { return last_; }

 private:
  std::unordered_map<std::string, std::vector<Text>> byNumber_;
  std::string name_;
  long read_ = 0;  // lines read so far
  std::string lastKey_;
  std::string last_;
};

// Reads a game file into `lines`, calling `each` for every line after the first with `line`
// holding the line as read (for the caller to look at, not to change); the file is closed once
// read, also when a ScriptError ends the reading.
void ReadEventLines(Player& p, const std::string& name, EventLines& lines,
                    const std::function<void()>& each = {});

// RunEventsPass over files read beforehand: `file(0)` gives the event lines of the location's file,
// `file(1)` those of room0.txt; each is asked for when the events would read that file, and a
// ScriptError it throws is reported as a failed reading is.
void RunEventsPass(Player& p, long n, const std::function<const EventLines&(int)>& file);

}  // namespace mireval
