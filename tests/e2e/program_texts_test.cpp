// The program's own texts reach the player whole: a line that starts like a directive would be
// carried out and cut away instead of being shown, which is easy to do by accident in a guide
// that explains those very directives.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "base/text.h"
#include "support/test_game.h"
#include "view/info_screens.h"

namespace mireval {
namespace {

// Everything the screen showed, page by page. A long text is trimmed from the front of the story
// area as the reader pages on; each page is put back where its text stood, so that a trimmed
// guide still counts as shown whole and only a line cut away by a directive is missed.
std::string ShownBy(void (*show)(Player&), const std::string& file) {
  TestPlayer t;
  std::filesystem::copy_file(std::filesystem::path(PROGRAM_DIR) / file, t.work() / file);
  std::string shown;
  auto page = [&shown](const TextBox& story) {
    EXPECT_LE(story.droppedFront, shown.size()) << "text dropped before it was shown";
    shown.resize(std::min<std::size_t>(shown.size(), story.droppedFront));
    shown += story.text;
  };
  for (int i = 0; i < 50; ++i) {  // every page of a long text
    t.platform.Then([&](Player& p) { page(p.story); });
    t.platform.Enter();
  }
  show(t.p);
  page(t.p.story);
  EXPECT_FALSE(t.p.pauseWaiting);
  return shown;
}

std::string Whole(const std::string& heading, const std::string& file) {
  std::string text = "\r\n"_cp + FromUtf8(heading) + "\r\n";
  return text + ReadRaw(std::filesystem::path(PROGRAM_DIR) / file);
}

TEST(ProgramTexts, TheGuideAndTheHelpAreShownWithoutLosingALine) {
  EXPECT_EQ(ShownBy(ShowEditorIntro, "editor.txt"), Whole("Вступление к редактору:", "editor.txt"));
  EXPECT_EQ(ShownBy(ShowIfGames, "ifgames.txt"), Whole("Об Interactive Fiction:", "ifgames.txt"));
}

// Nothing the player ships is taken for UTF-8: every file is read as the Windows-1251 it is.
TEST(ProgramTexts, NoShippedFileIsTakenForUtf8) {
  int files = 0;
  for (const char* folder : {PROGRAM_DIR, DEMO_GAME_DIR})
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      if (entry.path().extension() != ".txt") continue;
      ++files;
      EXPECT_FALSE(IsUtf8Text(ReadRaw(entry.path()))) << entry.path();
    }
  EXPECT_GE(files, 10);
}

}  // namespace
}  // namespace mireval
