#include "checker/findings.h"

#include <algorithm>
#include <tuple>

#include "base/lines.h"
#include "base/text.h"

namespace mireval::check {

namespace {

// A file name compared with its digits as numbers, so that the files stand as their author counts
// them: room2.txt, room10.txt.
bool NaturalLess(const std::string& a, const std::string& b) {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (IsDigit(a[i]) && IsDigit(b[j])) {
      std::size_t i2 = i, j2 = j;
      while (i2 < a.size() && a[i2] == '0') ++i2;
      while (j2 < b.size() && b[j2] == '0') ++j2;
      std::size_t ie = i2, je = j2;
      while (ie < a.size() && IsDigit(a[ie])) ++ie;
      while (je < b.size() && IsDigit(b[je])) ++je;
      if (ie - i2 != je - j2) return ie - i2 < je - j2;
      const int c = a.compare(i2, ie - i2, b, j2, je - j2);
      if (c != 0) return c < 0;
      i = ie;
      j = je;
      continue;
    }
    const char x = UpperChar(a[i]), y = UpperChar(b[j]);
    if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    ++i;
    ++j;
  }
  return a.size() - i < b.size() - j;
}

const char* SeverityName(Severity s) {
  return s == Severity::Error ? "error" : "warning";
}

}  // namespace

void Findings::Error(const std::string& file, long line, std::string code, std::string text) {
  all_.push_back({file, line, Severity::Error, std::move(code), std::move(text)});
}

void Findings::Warning(const std::string& file, long line, std::string code, std::string text) {
  all_.push_back({file, line, Severity::Warning, std::move(code), std::move(text)});
}

std::vector<Finding> Findings::Sorted() const {
  std::vector<Finding> out = all_;
  std::stable_sort(out.begin(), out.end(), [](const Finding& a, const Finding& b) {
    if (a.file != b.file) return NaturalLess(a.file, b.file);
    return a.line < b.line;
  });
  return out;
}

int Findings::Count(Severity severity) const {
  return static_cast<int>(std::count_if(all_.begin(), all_.end(),
                                        [&](const Finding& f) { return f.severity == severity; }));
}

std::string FindingLine(const Finding& f) {
  return ToUtf8(f.file) + ":" + std::to_string(f.line) + ": " + SeverityName(f.severity) + ": " +
         ToUtf8(f.text) + " [" + f.code + "]";
}

std::string FindingsJson(const std::vector<Finding>& findings) {
  std::string out = "{\"findings\":[";
  int errors = 0, warnings = 0;
  for (std::size_t i = 0; i < findings.size(); ++i) {
    const Finding& f = findings[i];
    (f.severity == Severity::Error ? errors : warnings)++;
    out += i ? "," : "";
    out += "{\"file\":" + JsonString(f.file) + ",\"line\":" + std::to_string(f.line) +
           ",\"severity\":\"" + SeverityName(f.severity) + "\",\"code\":" + JsonString(f.code) +
           ",\"text\":" + JsonString(f.text) + "}";
  }
  return out + "],\"errors\":" + std::to_string(errors) +
         ",\"warnings\":" + std::to_string(warnings) + "}";
}

}  // namespace mireval::check
