#include "platform/platform.h"

#include <cmath>

#include "base/files.h"

namespace mireval {

double LinearGain(int hundredthsOfDb) {
  return std::pow(10.0, hundredthsOfDb / 2000.0);
}

std::vector<std::string> Platform::DriveRoots() {
  std::vector<std::string> roots;
  for (const std::filesystem::path& root : DefaultDriveRoots()) roots.push_back(PathText(root));
  return roots;
}

}  // namespace mireval
