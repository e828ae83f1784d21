#include "platform/platform.h"

#include <cstdlib>

#include "engine/text.h"

namespace mireval {

std::vector<std::string> Platform::DriveRoots() {
  std::vector<std::string> roots{"/"};
  if (const char* home = std::getenv("HOME"); home && *home && std::string_view(home) != "/")
    roots.push_back(FromUtf8(home));
  return roots;
}

}  // namespace mireval
