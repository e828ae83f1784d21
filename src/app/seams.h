// Where the window's clicks on dialogue answers and in the game browser enter the engine. The
// window calls these and nothing else for those controls, so tests can watch the routing and the
// engine side can change behind one file.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace mireval {

struct Player;

struct Seams {
  std::function<void(Player&, int)> answerClicked;               // `answers`, 0..12
  std::function<void(Player&, const std::string&)> driveChosen;  // a drive root (Windows-1251)
  std::function<void(Player&, const std::filesystem::path&)> folderChosen;  // a folder
  std::function<void(Player&, int)> fileClicked;  // entry `index` of `files`
  std::function<void(Player&)> startClicked;      // `startButton`
  std::function<void(Player&)> cancelClicked;     // `cancelButton`
};

// The engine's handlers. A drive or folder that cannot be read is refused here and the browser
// keeps the folder it shows.
Seams EngineSeams();

// Whether a folder can be listed (the browser only moves to folders it can show).
bool FolderReadable(const std::string& cp1251Folder);

}  // namespace mireval
