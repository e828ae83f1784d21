// What the checker says about a game: findings, each tied to a line of one of its files.
#pragma once

#include <string>
#include <vector>

namespace mireval::check {

enum class Severity { Warning, Error };

struct Finding {
  std::string file;  // as the game folder names it
  long line = 1;     // from 1; in a scrambled file, the line of its plain text
  Severity severity = Severity::Warning;
  std::string code;  // stable across versions, for editors and scripts
  std::string text;  // Russian, Windows-1251
};

class Findings {
 public:
  void Error(const std::string& file, long line, std::string code, std::string text);
  void Warning(const std::string& file, long line, std::string code, std::string text);
  // By file (room2.txt before room10.txt), then line, then the order they were found in.
  std::vector<Finding> Sorted() const;
  int Count(Severity severity) const;

 private:
  std::vector<Finding> all_;
};

// "room3.txt:12: error: текст [code]", in UTF-8.
std::string FindingLine(const Finding& f);
// {"findings":[{"file":…,"line":…,"severity":…,"code":…,"text":…},…],"errors":N,"warnings":M}
std::string FindingsJson(const std::vector<Finding>& findings);

}  // namespace mireval::check
