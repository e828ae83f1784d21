// The game folder under check: which files it holds, found as the player finds them.
#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <string_view>

namespace mireval::check {

class GameFolder {
 public:
  explicit GameFolder(std::filesystem::path folder) : folder_(std::move(folder)) {}
  const std::filesystem::path& Path() const { return folder_; }
  // Whether a name written in the game ("\" between folders, any letter case, blanks at its
  // end) names a file the player can open. Each name is looked up once.
  bool Has(std::string_view name) const;

 private:
  std::filesystem::path folder_;
  // The folder's own names, upper case, for a quick "no" to names it does not hold at all.
  mutable std::set<std::string> names_;
  mutable bool listed_ = false;
  mutable std::map<std::string, bool, std::less<>> known_;
};

}  // namespace mireval::check
