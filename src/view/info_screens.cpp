#include "view/info_screens.h"

#include <filesystem>
#include <string>

#include "base/files.h"
#include "base/lines.h"
#include "base/script_error.h"
#include "base/text.h"
#include "base/vocabulary.h"
#include "model/player.h"
#include "script/game_files.h"
#include "view/output.h"

namespace mireval {

namespace {

enum class Missing { Fails, ShowsHeading };

// Writes every line of the file: appended with CR LF, then handed to the output writer.
// A game file that leads outside the game folder counts as missing.
void WriteFile(Player& p, const std::optional<std::filesystem::path>& file, Missing missing) {
  auto data = file ? ReadWholeFile(*file) : std::nullopt;
  if (!data) {
    if (missing == Missing::Fails) throw ScriptError("file cannot be read");
    return;
  }
  std::size_t pos = 0;
  while (pos < data->size()) {
    std::string line(NextLine(*data, pos));
    p.story.Append(line + "\r\n");
    WriteStoryLine(p, line);
  }
}

enum class Tail { Shown, Left };

// A heading on a line of its own, then the file under it.
void ShowUnderHeading(Player& p, const std::string& heading,
                      const std::optional<std::filesystem::path>& file, Missing missing,
                      Tail tail = Tail::Shown) {
  p.charactersSincePause = 0;
  p.story.Append("\r\n" + heading + "\r\n");
  WriteFile(p, file, missing);
  if (tail == Tail::Shown) StoryTail(p);
}

}  // namespace

void ShowIntro(Player& p) {
  p.charactersSincePause = 0;
  p.story.SetText("Начало игры:"_cp + "\r\n");
  WriteFile(p, FindGameFile(p, words::kIntroFile), Missing::ShowsHeading);
}

void ShowRules(Player& p) {
  ShowUnderHeading(p, "Правила игры:"_cp, FindGameFile(p, words::kRulesFile), Missing::Fails);
}

void ShowAuthor(Player& p) {
  ShowUnderHeading(p, "Об авторе игры:"_cp, FindGameFile(p, words::kAuthorFile), Missing::Fails,
                   Tail::Left);
}

void ShowKeywords(Player& p) {
  ShowUnderHeading(p, "Ключевые слова:"_cp, FindGameFile(p, words::kKeywordsFile), Missing::Fails);
}

void ShowIfGames(Player& p) {
  ShowUnderHeading(p, "Об Interactive Fiction:"_cp, p.WorkFile(words::kGamesListFile),
                   Missing::ShowsHeading);
}

void ShowEditorIntro(Player& p) {
  ShowUnderHeading(p, "Вступление к редактору:"_cp, p.WorkFile(words::kEditorFile),
                   Missing::ShowsHeading);
}

}  // namespace mireval
