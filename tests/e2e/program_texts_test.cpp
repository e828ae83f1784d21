// The program's own texts reach the player whole: a line that starts like a directive would be
// carried out and cut away instead of being shown, which is easy to do by accident in a guide
// that explains those very directives.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/text.h"
#include "interpreter/dialogue.h"
#include "interpreter/locations.h"
#include "interpreter/typed_command.h"
#include "script/synonyms.h"
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

// The guide warns authors of what the format does against expectation and tells them what to
// write instead; each pair here is a trap the guide shows and the way out it gives, so that the
// guide is looked at again when the engine stops behaving as it says.
TEST(ProgramTexts, TheGuidesTrapsAndWaysOutHold) {
  struct Case {
    bool shown;
    const char* text;
    const char* typed;             // lines separated by "|"; "#" clicks the first answer
    const char* room;              // room1.txt after its header and an unconditional description
    const char* common = nullptr;  // room0.txt, when not a header alone
    std::vector<int> set = {};
  };
  const Case cases[] = {
      {false, "Хлопок.", "да", "Т ДА\nД 12\n\nСОБ 12 Хлопок.\n"},
      {true, "Хлопок.", "да", "Т ДА\nД 12\n\nПС 13 = 12 + 12 > 1\nСОБ 13 Хлопок.\n"},
      {false, "Почет.", "помочь", "Т ПОМОЧЬ\nСС\nСС\n\nПС 20 = + С > 1\nСОБ 20 Почет.\n"},
      {true, "Почет.", "помочь",
       "Т ПОМОЧЬ\nСС\nСС\nД 9990 -9990\n\nПС 20 = + С > 1\nСОБ 20 Почет.\n"},
      {true, "Всегда.", "", "ПС 7 = С - Т > 0\nСОБ 7 Всегда.\n"},
      {false, "Добро.", "", "ПС 8 = + С - Т - 9999 > 1\nСОБ 8 Добро.\n"},
      {true, "Добро.", "помочь",
       "Т ПОМОЧЬ\nСС\nД 9990 -9990\n\nПС 8 = + С - Т - 9999 > 1\nСОБ 8 Добро.\n"},
      {false, "Пять.", "", "", "ПС 5 = 9999\nСОБ 5 Пять.\n"},
      {true, "Пять.", "", "", "РН Общие команды\nПС 5 = 9999\nСОБ 5 Пять.\n"},
      {true, "Открыто.", "открыть", "Т ОТКРЫТЬ\nЛ 3\nЛ -4\nОткрыто.\n", nullptr, {3, 4}},
      {false, "Открыто.", "открыть", "Т ОТКРЫТЬ\nЛ 3 -4\nОткрыто.\n", nullptr, {3, 4}},
      {true, "На север.", "поздороваться с вахтером", "Т С\nНа север.\n"},
      {true, "На скалу.", "лезть в тетрадь", "Т ЛЕЗТЬ %СКАЛ%\nНа скалу.\n\nСКАЛ = УТЕС\n"},
      {false, "На скалу.", "лезть в тетрадь", "Т ЛЕЗТЬ %СКАЛ%\nНа скалу.\n\nСКАЛ = %УТЕС%\n"},
      {true, "На скалу.", "лезть на утес", "Т ЛЕЗТЬ %СКАЛ%\nНа скалу.\n\nСКАЛ = %УТЕС%\n"},
      {false, "одка", "робот", "Т РОБОТ\nСС и СТ — кнопки.\nЛ одка.\n"},
      {true, "Взлетает\nУпала.", "монета", "Т МОНЕТА\nВзлетает.\nВЕР 7 50\nУпала.\n"},
      {true, ">  монета \nВзлетает. ", "монета", "Т МОНЕТА\nВЕР 7 50\nВзлетает.\n"},
      {true, "Стучат.\nТихо.", "стук", "Т СТУК\nСтучат.\nЗВУ s.wav\nТихо.\n"},
      {true, "Раз.\nДва.", "пауза", "Т ПАУЗА\nРаз.  \nНЖ\nДва.\n"},
      {true, "Скрип.Темно.", "", "ОП 1\nСкрип.\nЗВУ s.wav\nТемно.\n", nullptr, {1}},
      {true, "Скрип. Темно.", "", "ОП 1\nСкрип. \nЗВУ s.wav\nТемно.\n", nullptr, {1}},
      {true, "Спите. \n>  спать", "спать|спать", "Т СПАТЬ\nСпите."},
      {true, "Прощайте.", "диалог с вахтером|#",
       "ДИАЛ% ВАХТЕР%\nДИ 2\nПрощайте.\n\nДИ 1\nЗдравствуйте.\n\nКДИАЛ\n"},
      {true, "Общий.", "диалог с вахтером|#", "ДИАЛ% ВАХТЕР%\nДИ 1\nВахтер.\n\nКДИАЛ\n",
       "РН Общие\nДИАЛ%\nДИ 1\nОбщий.\n\nКДИАЛ\n"},
      {true, "Да.", "диалог вахтер|#", "ДИАЛ% ВАХТЕР%\nДИ 1\nДа.\nЛ -7\n\nКДИАЛ\n", nullptr, {7}},
      {false, "осмотр", "осмотреть",
       "ДИАЛ АВТО\nЛ 5\nДИ 1\nКонец.\n\nКДИАЛ\n\nТ ОСМОТРЕТЬ\nОсмотр.\n"},
  };
  for (const Case& c : cases) {
    LocationPlayer t;
    t.Room("ОП\nМесто.\n\n" + std::string(c.room));
    if (c.common) t.Game("room0.txt", c.common);
    t.Game("s.wav", "");
    for (int n : c.set) t.Set(n);
    for (int i = 0; i < 3; ++i) t.platform.Enter();  // for a pause
    LoadLocationSynonyms(t.p, t.p.location);
    ShowRoom(t.p);
    const std::string typed = c.typed;
    for (std::size_t from = 0; from < typed.size();) {
      const std::size_t bar = std::min(typed.find('|', from), typed.size());
      const std::string line = typed.substr(from, bar - from);
      from = bar + 1;
      if (line == "#") {
        OnAnswerClicked(t.p, 1);
        continue;
      }
      t.p.input.SetText(FromUtf8(line));
      ExecuteTypedCommand(t.p);
    }
    const std::string screen = ToUtf8Shown(t.p.story.text);
    EXPECT_EQ(screen.find(c.text) != std::string::npos, c.shown) << c.room << "\n--\n" << screen;
    EXPECT_TRUE(t.platform.messages.empty()) << c.room;
  }
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
