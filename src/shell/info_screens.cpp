#include "shell/info_screens.h"

#include <filesystem>
#include <string>

#include "engine/files.h"
#include "engine/game_files.h"
#include "engine/lines.h"
#include "engine/script_error.h"
#include "engine/text.h"
#include "presentation/output.h"
#include "shell/player.h"

namespace mireval {

namespace {

enum class Missing { Fails, ShowsHeading };

// Writes every line of the file: appended with CR LF, then handed to the output writer.
void WriteFile(Player& p, const std::filesystem::path& file, Missing missing) {
  auto data = ReadWholeFile(file);
  if (!data) {
    if (missing == Missing::Fails) throw ScriptError("file not found: " + file.string());
    return;
  }
  std::size_t pos = 0;
  while (pos < data->size()) {
    std::string line(NextLine(*data, pos));
    p.T.Append(line + "\r\n");
    WhP(p, line);
  }
}

void AppendHeading(Player& p, const std::string& heading) {
  p.T.Append("\r\n" + heading + "\r\n");
}

}  // namespace

void ShowIntro(Player& p) {
  p.SimvolCount = 0;
  p.T.SetText("Начало игры:"_cp + "\r\n");
  WriteFile(p, GamePath(p, "intro.txt"), Missing::ShowsHeading);
}

void ShowRules(Player& p) {
  p.SimvolCount = 0;
  AppendHeading(p, "Правила игры:"_cp);
  WriteFile(p, GamePath(p, "rules.txt"), Missing::Fails);
  StoryTail(p);
}

void ShowAuthor(Player& p) {
  p.SimvolCount = 0;
  AppendHeading(p, "Об авторе игры:"_cp);
  WriteFile(p, GamePath(p, "author.txt"), Missing::Fails);
}

void ShowKeywords(Player& p) {
  p.SimvolCount = 0;
  AppendHeading(p, "Ключевые слова:"_cp);
  WriteFile(p, GamePath(p, "keywords.txt"), Missing::Fails);
  StoryTail(p);
}

void ShowIfGames(Player& p) {
  p.SimvolCount = 0;
  AppendHeading(p, "Об Interactive Fiction:"_cp);
  WriteFile(p, p.WorkFile("ifgames.txt"), Missing::ShowsHeading);
  StoryTail(p);
}

void ShowEditorIntro(Player& p) {
  AppendHeading(p, "Вступление к редактору:"_cp);
  p.SimvolCount = 0;
  WriteFile(p, p.WorkFile("editor.txt"), Missing::ShowsHeading);
  StoryTail(p);
}

}  // namespace mireval
