// The game browser panel `browserPanel`: drive, folder and file lists over the file system, the
// start button, and the choice of a main file (a new game) or a save file (a load).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace mireval {

struct Player;

// Fills the drive list and, when the folder list shows nothing yet, points it at the working
// folder. Run when the window starts and whenever the panel is shown.
void PrepareBrowser(Player& p);

// Shows the panel in new-game mode: main files only, with the start button when there is one.
void OpenGameDialog(Player& p);

// Points the folder list at `folder` (Windows-1251, absolute or relative to the working folder,
// names matched case-insensitively) and refreshes the panel as a change of the folder list does.
// A folder that cannot be read changes nothing and gives false.
bool ChangeFolder(Player& p, const std::string& folder);
// The same for a folder on this machine, taken as it is (its name need not have a Windows-1251
// form; the folder list shows such names with "?").
bool ChangeFolderPath(Player& p, const std::filesystem::path& folder);

// Sets the file filter and refreshes the file list; the start button is left as it is.
void SetFilePattern(Player& p, const std::string& pattern);

// The change events of the two lists: the view sets `drives`.drive or `folders`.path, then calls
// them. A place that cannot be read keeps the previous folder.
void OnDriveChanged(Player& p);
void OnFolderChanged(Player& p);

// Whether a name in the file list is a game's main file (in any letter case).
bool IsMainFileName(const std::string& name);
// The start button: a new game in the folder shown.
void OnStartClicked(Player& p);
// A click on a listed file: the main file starts a new game, any other file is loaded as a save.
void OnFileChosen(Player& p, const std::string& fileName);
// Leaves the panel without choosing anything.
void OnBrowserCancelled(Player& p);

// Starts a new game from the main file of the folder shown, as the start button does. A game
// that cannot start is reported naming its main file, and the running game goes on unchanged.
void StartGameFromBrowser(Player& p);

// Points the browser at `folder` and clicks `fileName` there, as a player choosing that file
// does. A folder that cannot be read is reported naming the file.
void ChooseFile(Player& p, const std::filesystem::path& folder, const std::string& fileName);

// The game folder text (gameFolderText) for a folder of the browser: the folder with one trailing
// separator.
std::string GameDirOf(const std::string& folder);

struct Subfolder {
  std::string name;            // Windows-1251, for showing
  std::filesystem::path path;  // the folder on this machine
};

// Subfolders of `folder`, sorted by name without regard to letter case; hidden ones (a leading
// ".") are left out, as file managers do. Empty when the folder cannot be read.
std::vector<Subfolder> ListFolders(const std::filesystem::path& folder);

// The folder list of a browser: the chain from the root down to `folder`, the folder itself
// marked current, then its subfolders (hidden ones left out) one step deeper; each with its depth,
// the folder on this machine and its name as the window shows it (Windows-1251).
struct FolderRow {
  std::filesystem::path path;
  std::string name;
  int depth;
  bool current;
};
std::vector<FolderRow> FolderRows(const std::filesystem::path& folder);

// File names (Windows-1251) of `folder` that match `pattern`; sorted without regard to letter
// case. Empty when the folder cannot be read.
std::vector<std::string> ListFiles(const std::filesystem::path& folder, const std::string& pattern);

// Whether a file name matches a filter such as "*.sav" or "main.txt;*.txt" ("*" any run, "?" one
// character), ignoring letter case as the game folders' home file systems do.
bool MatchesPattern(std::string_view name, std::string_view pattern);

}  // namespace mireval
