#include "app/browser.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

#include "app/save_load.h"
#include "base/files.h"
#include "base/script_error.h"
#include "base/text.h"
#include "base/vocabulary.h"
#include "interpreter/main_file.h"
#include "model/player.h"
#include "model/report.h"
#include "script/game_files.h"

namespace fs = std::filesystem;

namespace mireval {

namespace {

const std::string& MainFileName() {
  static const std::string s(words::kMainFile);
  return s;
}

// The folder with "." and ".." folded away, when it can be read.
std::optional<fs::path> ReadableFolder(fs::path path) {
  if (path.empty()) return std::nullopt;
  path = path.lexically_normal();
  if (path.has_relative_path() && !path.has_filename()) path = path.parent_path();
  std::error_code ec;
  if (!fs::is_directory(path, ec)) return std::nullopt;
  fs::directory_iterator probe(path, ec);
  if (ec) return std::nullopt;
  return path;
}

// A folder named as text (start.txt, the drive list): relative paths start at the working folder,
// names are matched case-insensitively.
std::optional<fs::path> ReadableFolder(const Player& p, const std::string& folder) {
  if (folder.empty()) return std::nullopt;
  bool relative = folder[0] != '/' && folder[0] != '\\';
  return ReadableFolder(relative ? ResolveFrom(p.workDir, folder) : ResolvePath(folder));
}

bool LessNoCase(const std::string& a, const std::string& b) {
  std::string ua = Upper(a), ub = Upper(b);
  return ua != ub ? ua < ub : a < b;
}

bool WildcardMatch(std::string_view name, std::string_view pat) {
  std::size_t n = 0, k = 0, star = std::string_view::npos, resume = 0;
  while (n < name.size()) {
    if (k < pat.size() && (pat[k] == '?' || pat[k] == name[n])) {
      ++n;
      ++k;
    } else if (k < pat.size() && pat[k] == '*') {
      star = k++;
      resume = n;
    } else if (star != std::string_view::npos) {
      k = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (k < pat.size() && pat[k] == '*') ++k;
  return k == pat.size();
}

// The drive entry a folder lies on: the longest offered place that holds it.
std::string DriveOf(const std::vector<std::string>& drives, const std::string& folder) {
  std::string best;
  for (const std::string& d : drives) {
    if (d.empty()) continue;
    bool holds =
        folder == d || (StartsWith(folder, d) && (d.back() == '/' || folder[d.size()] == '/'));
    if (holds && d.size() > best.size()) best = d;
  }
  return best;
}

void RefreshFiles(Player& p) {
  p.files.items = ListFiles(p.folders.folder, p.files.pattern);
}

// The start button covers the file list and is offered only when the list holds a main file.
void RefreshStartButton(Player& p) {
  p.startButton.visible = false;
  p.startButton.left = p.files.left + 3;
  p.startButton.width = p.files.width - 7;
  if (!p.files.items.empty() && EqualsNoCase(p.files.items.front(), MainFileName()))
    p.startButton.visible = true;
}

// Shows a folder that can be read in the folder and file lists.
void ShowReadableFolder(Player& p, const fs::path& path) {
  p.folders.folder = path;
  p.folders.path = PathText(path);
  p.folders.items.clear();
  for (const Subfolder& sub : ListFolders(path)) p.folders.items.push_back(sub.name);
  p.files.path = p.folders.path;
  RefreshFiles(p);
  RefreshStartButton(p);
}

}  // namespace

std::string GameDirOf(const std::string& folder) {
  return !folder.empty() && folder.back() == '/' ? folder : folder + "/";
}

std::vector<Subfolder> ListFolders(const fs::path& folder) {
  std::vector<Subfolder> out;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::string name = FromUtf8(it->path().filename().string());
    std::error_code kind;
    if (name.empty() || name[0] == '.' || !it->is_directory(kind)) continue;
    out.push_back({std::move(name), it->path()});
  }
  std::sort(out.begin(), out.end(),
            [](const Subfolder& a, const Subfolder& b) { return LessNoCase(a.name, b.name); });
  return out;
}

std::vector<FolderRow> FolderRows(const fs::path& shown) {
  std::vector<FolderRow> rows;
  if (shown.empty()) return rows;
  fs::path folder = shown.lexically_normal();
  if (folder.has_relative_path() && !folder.has_filename()) folder = folder.parent_path();

  fs::path chain = folder.root_path();
  int depth = 0;
  if (!chain.empty()) rows.push_back({chain, PathText(chain), depth++, false});
  for (const fs::path& part : folder.relative_path()) {
    chain /= part;
    rows.push_back({chain, PathText(part), depth++, false});
  }
  if (rows.empty()) return rows;
  rows.back().current = true;

  for (Subfolder& sub : ListFolders(folder))
    rows.push_back({std::move(sub.path), std::move(sub.name), depth, false});
  return rows;
}

std::vector<std::string> ListFiles(const fs::path& folder, const std::string& pattern) {
  std::vector<std::string> out;
  if (folder.empty()) return out;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code kind;
    if (!it->is_regular_file(kind)) continue;
    std::string name = FromUtf8(it->path().filename().string());
    if (MatchesPattern(name, pattern)) out.push_back(std::move(name));
  }
  std::sort(out.begin(), out.end(), LessNoCase);
  return out;
}

bool MatchesPattern(std::string_view name, std::string_view pattern) {
  std::string upperName = Upper(name);
  std::size_t from = 0;
  while (from <= pattern.size()) {
    std::size_t end = pattern.find(';', from);
    if (end == std::string_view::npos) end = pattern.size();
    std::string_view one = pattern.substr(from, end - from);
    while (!one.empty() && one.front() == ' ') one.remove_prefix(1);
    while (!one.empty() && one.back() == ' ') one.remove_suffix(1);
    if (!one.empty() && WildcardMatch(upperName, Upper(one))) return true;
    from = end + 1;
  }
  return false;
}

void PrepareBrowser(Player& p) {
  p.drives.items = p.platform.DriveRoots();
  if (p.folders.path.empty()) ChangeFolderPath(p, p.workDir);
}

void OpenGameDialog(Player& p) {
  PrepareBrowser(p);
  p.browserCaption.caption = "Открытие новой игры."_cp;
  p.browserPanel.visible = true;
  SetFilePattern(p, MainFileName());
  RefreshStartButton(p);
}

bool ChangeFolder(Player& p, const std::string& folder) {
  std::optional<fs::path> path = ReadableFolder(p, folder);
  return path && ChangeFolderPath(p, *path);
}

bool ChangeFolderPath(Player& p, const fs::path& folder) {
  std::optional<fs::path> path = ReadableFolder(folder);
  if (!path) return false;
  ShowReadableFolder(p, *path);
  p.drives.drive = DriveOf(p.drives.items, p.folders.path);
  return true;
}

void SetFilePattern(Player& p, const std::string& pattern) {
  p.files.pattern = pattern;
  RefreshFiles(p);
}

void OnDriveChanged(Player& p) {
  if (!ChangeFolder(p, p.drives.drive)) p.drives.drive = DriveOf(p.drives.items, p.folders.path);
}

void OnFolderChanged(Player& p) {
  std::optional<fs::path> path = ReadableFolder(p, p.folders.path);
  if (!path) {
    // An unreadable folder (a vanished medium, no permission): stay where the lists were.
    p.folders.path = p.files.path;
    return;
  }
  ShowReadableFolder(p, *path);
}

namespace {

// The main file of the folder, read before anything changes: a folder that holds no game, or a
// main file that cannot be read or stops short, is reported and leaves the running game as it was.
std::optional<MainFile> ReadChosenMainFile(Player& p, const fs::path& folder) {
  std::optional<MainFile> main;
  RunScriptStep(
      p, OnScriptError::ReportAndGoOn, [&] { main = ReadMainFile(p, folder); },
      [&] { return "Не удалось начать игру: "_cp + GameDirOf(PathText(folder)) + MainFileName(); });
  return main;
}

void StartNewGameIn(Player& p, const fs::path& folder) {
  std::optional<MainFile> main = ReadChosenMainFile(p, folder);
  if (!main) return;
  p.browserPanel.visible = false;
  BeginNewGame(p, folder, *main);
}

}  // namespace

void StartGameFromBrowser(Player& p) {
  const fs::path folder = p.folders.folder;
  // Starting releases a pending wait; a folder that holds no game must keep it, and the move it
  // holds, as they were.
  if (WaitPending(p) && !ReadChosenMainFile(p, folder)) return;
  StartGame(p, [folder](Player& q) { StartNewGameIn(q, folder); });
}

bool IsMainFileName(const std::string& name) {
  return EqualsNoCase(name, MainFileName());
}

void OnStartClicked(Player& p) {
  StartGameFromBrowser(p);
}

void OnFileChosen(Player& p, const std::string& fileName) {
  if (EqualsNoCase(fileName, MainFileName())) {
    StartGameFromBrowser(p);
    return;
  }
  ChooseSavedGame(p, p.folders.folder, fileName);
}

void OnBrowserCancelled(Player& p) {
  p.browserPanel.visible = false;
}

void ChooseFile(Player& p, const fs::path& folder, const std::string& fileName) {
  if (!ChangeFolderPath(p, folder)) {
    std::string file = GameDirOf(PathText(folder)) + fileName;
    p.platform.MessageBox(EqualsNoCase(fileName, MainFileName())
                              ? "Не удалось начать игру: "_cp + file
                              : "Не удалось загрузить игру: "_cp + file);
    return;
  }
  OnFileChosen(p, fileName);
}

}  // namespace mireval
