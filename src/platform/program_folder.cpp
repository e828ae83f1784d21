#include "platform/program_folder.h"

#include <unistd.h>
#include <cstdlib>
#include <system_error>
#include "base/vocabulary.h"

namespace fs = std::filesystem;

namespace mireval {

fs::path CurrentExecutable(const char* argv0) {
  std::error_code ec;
  fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (!ec && !self.empty()) return self;
  if (!argv0 || !*argv0) return {};
  return fs::absolute(argv0, ec);
}

std::optional<fs::path> InstalledShareFolder(const fs::path& executable) {
  fs::path bin = executable.parent_path();
  if (bin.filename() != "bin") return std::nullopt;
  fs::path share = bin.parent_path() / "share" / "mireval";
  std::error_code ec;
  if (!fs::is_regular_file(share / words::kCoverFile, ec)) return std::nullopt;
  return share;
}

std::optional<fs::path> UserProgramFolder(const char* xdgDataHome, const char* home) {
  // A relative XDG_DATA_HOME is invalid and must be ignored.
  if (xdgDataHome && *xdgDataHome && fs::path(xdgDataHome).is_absolute())
    return fs::path(xdgDataHome) / "mireval";
  if (home && *home && fs::path(home).is_absolute())
    return fs::path(home) / ".local" / "share" / "mireval";
  return std::nullopt;
}

bool EnsureUserProgramFolder(const fs::path& share, const fs::path& user, std::string& problem) {
  std::error_code ec;
  if (fs::exists(user, ec)) {
    if (fs::is_directory(user, ec)) return true;
    problem = user.string() + " is not a folder";
    return false;
  }
  fs::create_directories(user.parent_path(), ec);
  fs::path part = user;
  part += ".part" + std::to_string(::getpid());
  fs::remove_all(part, ec);
  fs::copy(share, part, fs::copy_options::recursive, ec);
  if (!ec) fs::rename(part, user, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove_all(part, ignored);
    // Another copy of the program may have made the folder at the same moment.
    if (fs::is_directory(user, ignored)) return true;
    problem = "cannot create " + user.string() + ": " + ec.message();
    return false;
  }
  return true;
}

ProgramFolderChoice UseProgramFolder(const fs::path& executable) {
  ProgramFolderChoice choice;
  std::error_code ec;
  choice.folder = fs::current_path(ec);
  std::optional<fs::path> share = InstalledShareFolder(executable);
  if (!share) return choice;
  choice.installed = true;
  std::optional<fs::path> user =
      UserProgramFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
  if (!user) {
    choice.problem = "neither XDG_DATA_HOME nor HOME names a folder for the program's files";
    return choice;
  }
  if (!EnsureUserProgramFolder(*share, *user, choice.problem)) return choice;
  fs::current_path(*user, ec);
  if (ec) {
    choice.problem = "cannot work in " + user->string() + ": " + ec.message();
    return choice;
  }
  choice.folder = *user;
  return choice;
}

}  // namespace mireval
