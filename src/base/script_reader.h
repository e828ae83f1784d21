// The one reading cursor over game files. A file is read whole into memory when it is opened and
// handed out line by line; only one file is open on it at a time.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace mireval {

// A line of a game file, for error reports: the file's name and the line's number from 1 (in a
// scrambled file, its number in the plain text). Empty when no line is known.
struct ScriptPlace {
  std::string file;
  long line = 0;
  // "room3.txt:12", or "" when empty.
  std::string Text() const;
};

class ScriptReader {
 public:
  // Throws ScriptError when the file cannot be read.
  void Open(const std::filesystem::path& file);
  // Reads from a text in memory (the decoded copy of a scrambled file): the file's name stays,
  // lines are counted again from its first.
  void OpenText(std::string text);
  void Close();

  bool IsOpen() const { return open_; }
  // True when no line is left (also when nothing is open).
  bool Eof() const { return !open_ || pos_ >= data_.size(); }
  // The next line, without its line end, into `line`, whose storage is reused. Reading past the
  // end throws ScriptError.
  void ReadLine(std::string& line);
  // What has not been read yet.
  std::string_view Rest() const;
  // Where the last line read stands; kept when the file is closed, so that a report made after
  // the reader stopped can still name it.
  ScriptPlace Place() const { return {name_, line_}; }

 private:
  std::string name_;
  long line_ = 0;
  std::string data_;
  std::size_t pos_ = 0;
  bool open_ = false;
};

}  // namespace mireval
