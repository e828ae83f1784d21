#include "view/info_screens.h"

#include <filesystem>
#include <string>

#include "base/files.h"
#include "base/lines.h"
#include "base/text.h"
#include "base/vocabulary.h"
#include "model/player.h"
#include "script/game_files.h"
#include "view/output.h"

namespace mireval {

namespace {

// What stands in for a file that is missing (or cannot be read): nothing, or the sentence that
// names it.
enum class Missing { ShowsHeading, SaysSo };

// Writes every line of the file: appended with CR LF, then handed to the output writer.
// A game file that leads outside the game folder counts as missing.
void WriteFile(Player& p, std::string_view name, const std::optional<std::filesystem::path>& file,
               Missing missing) {
  auto data = file ? ReadWholeFile(*file) : std::nullopt;
  if (data) *data = DecodeGameFile(std::move(*data));
  if (!data) {
    if (missing == Missing::SaysSo) p.story.Append(NoSuchFileText(name) + "\r\n");
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
void ShowUnderHeading(Player& p, const std::string& heading, std::string_view name,
                      const std::optional<std::filesystem::path>& file, Missing missing,
                      Tail tail = Tail::Shown) {
  p.charactersSincePause = 0;
  p.story.Append("\r\n" + heading + "\r\n");
  WriteFile(p, name, file, missing);
  if (tail == Tail::Shown) StoryTail(p);
}

}  // namespace

void ShowIntro(Player& p) {
  p.charactersSincePause = 0;
  p.story.SetText("Начало игры:"_cp + "\r\n");
  WriteFile(p, words::kIntroFile, FindGameFile(p, words::kIntroFile), Missing::ShowsHeading);
}

void ShowRules(Player& p) {
  ShowUnderHeading(p, "Правила игры:"_cp, words::kRulesFile, FindGameFile(p, words::kRulesFile),
                   Missing::SaysSo);
}

void ShowAuthor(Player& p) {
  ShowUnderHeading(p, "Об авторе игры:"_cp, words::kAuthorFile, FindGameFile(p, words::kAuthorFile),
                   Missing::SaysSo, Tail::Left);
}

void ShowKeywords(Player& p) {
  ShowUnderHeading(p, "Ключевые слова:"_cp, words::kKeywordsFile,
                   FindGameFile(p, words::kKeywordsFile), Missing::SaysSo);
}

void ShowIfGames(Player& p) {
  ShowUnderHeading(p, "Об Interactive Fiction:"_cp, words::kGamesListFile,
                   p.WorkFile(words::kGamesListFile), Missing::ShowsHeading);
}

void ShowEditorIntro(Player& p) {
  ShowUnderHeading(p, "Вступление к редактору:"_cp, words::kEditorFile,
                   p.WorkFile(words::kEditorFile), Missing::ShowsHeading);
}

std::string NoSuchFileText(std::string_view name) {
  return "В этой игре нет файла "_cp + std::string(name) + ".";
}

}  // namespace mireval
