#include "platform/platform.h"

#include "base/files.h"

namespace mireval {

std::vector<std::string> Platform::DriveRoots() {
  std::vector<std::string> roots;
  for (const std::filesystem::path& root : DefaultDriveRoots()) roots.push_back(PathText(root));
  return roots;
}

}  // namespace mireval
