#include "base/lines.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/text.h"

namespace mireval {

std::string_view NextLine(std::string_view data, std::size_t& pos) {
  const std::size_t start = pos;
  const char* base = data.data();
  const auto isEnd = [](char c) { return c == '\r' || c == '\n'; };
  // The line ends at its first CR or LF. Every reader takes every line of its file through here:
  // short lines (the number lines of a scrambled file) are walked, longer ones searched with
  // memchr a stretch at a time, since searching the whole rest of the file for each kind of line
  // end would make a file with only the other kind quadratic.
  std::size_t end = start;
  const std::size_t walked = std::min(data.size(), start + 16);
  while (end < walked && !isEnd(base[end])) ++end;
  constexpr std::size_t kStretch = 256;
  while (end < data.size() && !isEnd(base[end])) {
    const char* from = base + end;
    const std::size_t n = std::min(kStretch, data.size() - end);
    const void* lf = std::memchr(from, '\n', n);
    const std::size_t upTo = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - from) : n;
    if (const void* cr = std::memchr(from, '\r', upTo)) {
      end += static_cast<std::size_t>(static_cast<const char*>(cr) - from);
      break;
    }
    end += upTo;
  }
  pos = end;
  if (pos < data.size()) {
    if (base[pos] == '\r' && pos + 1 < data.size() && base[pos + 1] == '\n')
      pos += 2;
    else
      pos += 1;
  }
  return data.substr(start, end - start);
}

std::vector<std::string> SplitLines(std::string_view data) {
  std::vector<std::string> out;
  std::size_t pos = 0;
  while (pos < data.size()) out.emplace_back(NextLine(data, pos));
  return out;
}

std::string JoinCrLf(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& l : lines) {
    out += l;
    out += "\r\n";
  }
  return out;
}

std::string QuotedField(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    out += c;
    if (c == '"') out += '"';
  }
  return out + "\"";
}

std::string JsonString(const std::string& cp1251) {
  std::string utf8 = ToUtf8(cp1251);
  std::string out = "\"";
  for (char c : utf8) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned char>(c));
          out += buf;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

}  // namespace mireval
