#include "engine/lines.h"

#include <cstring>

namespace mireval {

std::string_view NextLine(std::string_view data, std::size_t& pos) {
  std::size_t start = pos;
  std::size_t end = start;
  const char* base = data.data();
  while (end < data.size() && base[end] != '\r' && base[end] != '\n') ++end;
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

}  // namespace mireval
