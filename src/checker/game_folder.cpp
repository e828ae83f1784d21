#include "checker/game_folder.h"

#include <system_error>

#include "base/text.h"
#include "script/game_files.h"

namespace mireval::check {

namespace {

// A name as the folder lookup compares it: upper case, without the blanks and dots the authors'
// file systems drop from a name's end.
std::string Comparable(std::string_view name) {
  std::string out = Upper(name);
  while (!out.empty() && (out.back() == ' ' || out.back() == '.')) out.pop_back();
  return out;
}

}  // namespace

bool GameFolder::Has(std::string_view name) const {
  if (auto it = known_.find(name); it != known_.end()) return it->second;
  if (!listed_) {
    listed_ = true;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder_, ec), end; !ec && it != end;
         it.increment(ec))
      names_.insert(Comparable(FromUtf8(it->path().filename().string())));
  }
  // A name of the folder itself that it does not hold is settled without a look at the disk,
  // however many such names a game writes.
  const bool plain = name.find_first_of("/\\") == std::string_view::npos;
  if (plain && !names_.count(Comparable(name))) {
    known_.emplace(std::string(name), false);
    return false;
  }
  const std::optional<std::filesystem::path> file = FindGameFile(folder_, name);
  std::error_code ec;
  const bool has = file && std::filesystem::is_regular_file(*file, ec);
  known_.emplace(std::string(name), has);
  return has;
}

}  // namespace mireval::check
