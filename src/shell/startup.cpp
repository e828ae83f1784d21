#include "shell/startup.h"

#include "engine/files.h"
#include "engine/lines.h"
#include "engine/main_file.h"
#include "engine/script_error.h"
#include "engine/text.h"
#include "shell/player.h"

namespace mireval {

void ShowCover(Player& p) {
  p.T.SetText("");
  if (auto data = ReadWholeFile(p.WorkFile("obloz.txt"))) {
    std::string text;
    for (const std::string& line : SplitLines(*data)) text += line + "\r\n";
    p.T.SetText(text);
  }
}

void Form_Load(Player& p) {
  p.Command3.visible = true;
  p.Text1.visible = true;
  p.OutputReady = true;
  p.EnterReady = true;
  for (Button& b : p.Command1) b.visible = false;
  p.Picture1.visible = false;
  ShowCover(p);
  // Autostart (start.txt) and the layout for the word columns follow here.
}

void StartGameInFolder(Player& p, const std::filesystem::path& folder) {
  std::string dir = PathText(folder);
  if (dir.empty() || (dir.back() != '/' && dir.back() != '\\')) dir += '/';
  p.GameDir = dir;
  p.Picture1.visible = false;
  try {
    NewGame(p);
  } catch (const ScriptError&) {
    p.file.Close();
    p.platform.MessageBox("Не удалось начать игру: "_cp + p.GameDir + "main.txt");
  }
}

}  // namespace mireval
