// The program folder of an installed copy. The player and the seal tool read and write their own
// files (obloz.txt, start.txt, logfile.txt, and save files in the games' folders) in
// their working folder, and an installed copy's shared folder is not writable. So an installed
// program works in a folder of the user's own, made on first start from the installed files.
// A program run from a build tree keeps the folder it was started in.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace mireval {

// The file of the running program (/proc/self/exe), or `argv0` made absolute when that cannot be
// read.
std::filesystem::path CurrentExecutable(const char* argv0);

// The installed program files for an executable at <prefix>/bin/<name>: <prefix>/share/mireval,
// when that folder holds the cover obloz.txt. Nothing for any other place (a build tree).
std::optional<std::filesystem::path> InstalledShareFolder(const std::filesystem::path& executable);

// The user's own program folder: <XDG_DATA_HOME>/mireval when that variable holds an absolute
// path, else <HOME>/.local/share/mireval. Nothing when neither is usable. Null means unset.
std::optional<std::filesystem::path> UserProgramFolder(const char* xdgDataHome, const char* home);

// Makes `user` a copy of `share` when it does not exist yet; an existing folder is left as the
// user left it (saves, a removed start.txt). The copy is made beside it under a temporary name and
// renamed into place, so an interrupted first start never leaves half a folder. False, with the
// reason in `problem`, when `user` cannot be made or is not a folder.
bool EnsureUserProgramFolder(const std::filesystem::path& share, const std::filesystem::path& user,
                             std::string& problem);

struct ProgramFolderChoice {
  std::filesystem::path folder;  // the working folder now in use
  bool installed = false;        // the program runs from an installed copy
  std::string problem;           // why the user's folder could not be used (English), or empty
};

// What the desktop programs call first in main(): for an installed copy, makes the user's program
// folder (creating it from the installed files on first start) the working folder. When that
// fails the current folder is kept and the reason is returned for the program to show.
ProgramFolderChoice UseProgramFolder(const std::filesystem::path& executable);

}  // namespace mireval
