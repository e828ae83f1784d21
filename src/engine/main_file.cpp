#include "engine/main_file.h"

#include "commands/transition.h"
#include "engine/game_files.h"
#include "engine/text.h"
#include "presentation/status.h"
#include "shell/colors.h"
#include "shell/info_screens.h"
#include "shell/player.h"

namespace mireval {

void NewGame(Player& p) {
  BeginGame(p);
  for (int i = 0; i <= kMaxCondition; ++i) p.Uslovie.Set(i, false);
  static const char* const kDefaultWords[] = {"добро",  "зло",  "добрый",
                                              "святой", "злой", "мерзавец"};
  for (int i = 1; i <= 6; ++i) p.HarakterWord[i] = FromUtf8(kDefaultWords[i - 1]);

  OpenGameFile(p, "main.txt");
  ReadPlainLine(p);
  if (Upper(p.Stroka) != "ТЕКСТОВЫЙ КВЕСТ"_cp) {
    CloseGameFile(p);
    p.platform.MessageBox(
        "Ошибка описания главного файла: main.txt не является файлом текстового квеста."_cp);
    return;
  }
  ReadPlainLine(p);
  p.GameName = p.Stroka;
  ReadPlainLine(p);
  p.ColorScheme = p.Stroka;
  if (!p.file.Eof()) {
    for (int i = 1; i <= 6; ++i) {
      ReadPlainLine(p);
      p.HarakterWord[i] = p.Stroka;
    }
  }
  CloseGameFile(p);

  ApplyColorScheme(p);
  p.Harakter[1] = 0;
  p.Harakter[2] = 0;
  p.Hody = 0;
  p.RoomName = "Вступление в игру..."_cp;
  MainScreen(p);
  ShowIntro(p);
  PerehodRoom(p, 1);
}

}  // namespace mireval
