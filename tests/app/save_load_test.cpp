#include "app/save_load.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "app/keys.h"
#include "base/lines.h"
#include "base/text.h"
#include "support/test_game.h"

namespace mireval {
namespace {

namespace fs = std::filesystem;

// The loader's digit test, written out here on its own so that a fault in the program's copy of
// it cannot hide itself.
bool Decodes(long long n, int k) {
  long long v = n + k;
  return v % 10 + (v % 100) / 10 + (v / 100) % 2 == 1;
}

class SaveLoadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    t.Game("room0.txt", "РН Общее\n");
    t.Game("room1.txt", "РН Поляна\nОП\nНа поляне.\n");
    t.Game("room2.txt", "РН Лес\nОП\nВ лесу.\n\nОП 7\nВ лесу, и условие 7.\n");
    t.UseGameDir();
  }

  // A game in progress whose every saved part has a value of its own.
  void Play() {
    Player& p = t.p;
    p.location = 2;
    p.character[1] = 3;
    p.character[2] = 1;
    p.moves = 17;
    p.gameTitle = "Игра, \"вторая\""_cp;
    const char* words[] = {"добро", "зло, и \"зло\"", "добрый", "святой", "злой", "мерзавец"};
    for (int i = 1; i <= 6; ++i) p.characterWords[i] = FromUtf8(words[i - 1]);
    p.pictureFiles[1] = "лес.jpg"_cp;
    p.pictureFiles[500] = "a,b \"c\""_cp;
    for (int k = 0; k <= kMaxCondition; ++k) p.conditions.Set(k, k % 7 == 0 || k == 10000);
  }

  std::vector<std::string> Save(const std::string& name) {
    t.platform.inputAnswers.push_back(name);
    EXPECT_TRUE(SaveGame(t.p));
    return SplitLines(ReadRaw(t.game() / (name + ".sav")));
  }

  bool Load(const std::string& name) { return LoadSavedGame(t.p, t.p.gameFolder, name); }

  // A hand-made save: the first two lines as given, empty pictures except the first, condition 5
  // stored as given and every other one false.
  void WriteSave(const std::string& name, const std::string& line1,
                 const std::string& line2 = "\"a\",\"b\",\"c\",\"d\",\"e\",\"f\"",
                 const std::string& picture1 = "\"\"", const std::string& condition5 = "100",
                 int lines = kSaveFileLines) {
    std::vector<std::string> all{line1, line2, picture1};
    all.resize(kPictureSlots + 2, "\"\"");
    for (int k = 0; k <= kMaxCondition; ++k)
      all.push_back(k == 5 ? condition5 : Decodes(100, k) ? "101" : "100");
    all.resize(static_cast<std::size_t>(lines));
    std::string text;
    for (const std::string& l : all) text += l + "\n";
    t.Game(name, text);
  }

  TestPlayer t;
};

TEST_F(SaveLoadTest, WritesTheRecordFormatWithFreshDrawsEachTime) {
  Play();
  std::vector<std::string> lines = Save("slot");
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(kSaveFileLines));
  EXPECT_EQ(ToUtf8(lines[0]), "2,3,1,17,\"Игра, \"\"вторая\"\"\"");
  EXPECT_EQ(ToUtf8(lines[1]),
            "\"добро\",\"зло, и \"\"зло\"\"\",\"добрый\",\"святой\",\"злой\",\"мерзавец\"");
  EXPECT_EQ(ToUtf8(lines[2]), "\"лес.jpg\"");
  EXPECT_EQ(lines[3], "\"\"");
  std::string raw = ReadRaw(t.game() / "slot.sav");
  EXPECT_EQ(std::count(raw.begin(), raw.end(), '\r'), kSaveFileLines);
  EXPECT_EQ(std::count(raw.begin(), raw.end(), '\n'), kSaveFileLines);
  EXPECT_EQ(raw.substr(raw.size() - 2), "\r\n");
  for (bool allTrue : {false, true}) {
    if (allTrue) {
      for (int k = 0; k <= kMaxCondition; ++k) t.p.conditions.Set(k, true);
      lines = Save("slot");
    }
    for (int k = 0; k <= kMaxCondition; ++k) {
      const std::string& line = lines[static_cast<std::size_t>(1002 + k)];
      int n = std::stoi(line);
      ASSERT_EQ(std::to_string(n), line);
      ASSERT_TRUE(n >= 100 && n <= 899) << "condition " << k << ": " << n;
      ASSERT_EQ(Decodes(n, k), t.p.conditions.Get(k)) << "condition " << k;
    }
  }
  EXPECT_NE(Save("again"), lines);  // the same state, other draws
}

TEST_F(SaveLoadTest, LoadingRestoresEverySavedPartAndDescribesTheLocation) {
  Play();
  Save("one");
  Save("two");
  GameState saved = t.p;
  for (const char* name : {"one.sav", "two.sav"}) {
    t.p.location = 1;
    t.p.character[1] = Variant();
    t.p.moves = 0;
    t.p.gameTitle = "Другая"_cp;
    t.p.characterWords[2] = "x";
    t.p.pictureFiles[500] = "";
    for (int k = -1; k <= kMaxCondition; ++k) t.p.conditions.Set(k, k % 2 != 0);
    t.p.story.SetText("старый текст"_cp);
    t.p.browserPanel.visible = true;
    t.p.answers[0].visible = true;
    t.platform.yesNoAnswers = {true};  // the running game's title is another one now

    ASSERT_TRUE(Load(name));
    EXPECT_TRUE(t.platform.messages.empty());
    EXPECT_EQ(t.p.location, Variant(2));
    EXPECT_TRUE(t.p.location.IsNumber());
    EXPECT_EQ(t.p.character[1], Variant(3));
    EXPECT_EQ(t.p.moves, Variant(17));
    EXPECT_EQ(t.p.gameTitle.Text(), saved.gameTitle.Text());
    EXPECT_EQ(t.p.characterWords[2].Text(), saved.characterWords[2].Text());
    EXPECT_EQ(t.p.pictureFiles, saved.pictureFiles);
    // 0 and 3000 are the status line's own; -1 is never saved.
    for (int k = 1; k <= kMaxCondition; ++k) {
      if (k == 3000) continue;
      ASSERT_EQ(t.p.conditions.Get(k), saved.conditions.Get(k)) << k;
    }
    EXPECT_TRUE(t.p.conditions.Get(-1));
    EXPECT_FALSE(
        t.p.conditionsChanged);  // the description that follows the load ran the score pass
    EXPECT_EQ(t.Story(), "В лесу, и условие 7.\r\n");
    EXPECT_EQ(ToUtf8(t.p.statusLabels[1].caption).rfind("Ходы: 17,", 0), 0u);
    EXPECT_FALSE(t.p.browserPanel.visible);
    EXPECT_FALSE(t.p.answers[0].visible);
  }
}

TEST_F(SaveLoadTest, HandWrittenFilesKeepQuotedTextsAndBareNumbers) {
  WriteSave("hand.sav", "\"1\",\"5\",2,,\"Ручная\"", "1,\"a\",\"b\",\"c\",\"d\",\"e\"",
            "\"старый \"вид\"\"", "196");
  ASSERT_TRUE(Load("hand.sav"));
  EXPECT_EQ(t.p.location, Variant(1));  // a quoted count is the number it spells
  EXPECT_TRUE(t.p.location.IsNumber());
  EXPECT_TRUE(t.p.character[1].IsNumber());
  EXPECT_TRUE(t.p.character[2].IsNumber());
  EXPECT_TRUE(t.p.moves.IsEmpty());
  EXPECT_TRUE(t.p.characterWords[1].IsNumber());
  // Written before quotes were doubled: the text ends at its second quote, as it always did.
  EXPECT_EQ(ToUtf8(t.p.pictureFiles[1]), "старый ");
  EXPECT_TRUE(t.p.conditions.Get(5));
  EXPECT_FALSE(t.p.conditions.Get(6));
  EXPECT_EQ(t.Story(), "На поляне.\r\n");
}

// Points are compared with each other: two quoted ones compared as texts would put "13" before "3".
TEST_F(SaveLoadTest, QuotedPointsAndMovesCountAsTheNumbersTheySpell) {
  t.Game("room1.txt", "РН Поляна\nПС 8 = +С -Т >9\nОП\nНа поляне.\n");
  WriteSave("quoted.sav", "\" 1\",\"13\",\"3\",\"7\",\"Ручная\"",
            "\"добро\",\"зло\",\"добрый\",\"святой\",\"злой\",\"мерзавец\"");
  ASSERT_TRUE(Load("quoted.sav"));
  EXPECT_EQ(t.p.character[1].Compare(t.p.character[2]), 1);
  EXPECT_TRUE(t.p.conditions.Get(0));      // good at least evil
  EXPECT_FALSE(t.p.conditions.Get(3000));  // 13 > 4 x 3: extremely good
  EXPECT_EQ(ToUtf8(t.p.statusLabels[2].caption), "Характер: добро 13, зло 3 (святой).");
  EXPECT_EQ(ToUtf8(t.p.statusLabels[1].caption).rfind("Ходы: 7,", 0), 0u);
  EXPECT_TRUE(t.p.conditions.Get(8));  // the score line counted 13 - 3
}

TEST_F(SaveLoadTest, DamagedFilesAreReportedAndChangeNothing) {
  const std::string good = "1,0,0,0,\"Игра\"";
  WriteSave("short.sav", good, "\"a\",\"b\",\"c\",\"d\",\"e\",\"f\"", "\"\"", "100",
            kSaveFileLines - 1);
  WriteSave("text.sav", good, "\"a\",\"b\",\"c\",\"d\",\"e\",\"f\"", "\"\"", "\"100\"");
  WriteSave("quote.sav", good, "\"a\",\"b\",\"c\",\"d\",\"e\",\"f\"", "\"не закрыта");
  WriteSave("four.sav", "1,0,0,\"Игра\"");
  WriteSave("points.sav", "1,\"много\",0,0,\"Игра\"");
  WriteSave("room.sav", "\"первая\",0,0,0,\"Игра\"");
  WriteSave("noroom.sav", "9,0,0,0,\"Игра\"");
  WriteSave("bare.sav", "1,0,0,0,Игра");
  fs::create_directory(t.game() / "folder.sav");

  Play();
  t.p.story.SetText("текст игры"_cp);
  GameState before = t.p;
  for (const char* name : {"missing.sav", "short.sav", "text.sav", "quote.sav", "four.sav",
                           "points.sav", "room.sav", "noroom.sav", "bare.sav", "folder.sav"}) {
    t.platform.messages.clear();
    EXPECT_FALSE(Load(name)) << name;
    EXPECT_EQ(t.platform.messages, std::vector<std::string>{"Не удалось загрузить игру: " +
                                                            ToUtf8(t.p.gameFolderText) + name});
    EXPECT_EQ(t.p.location, before.location);
    EXPECT_EQ(t.p.gameTitle.Text(), before.gameTitle.Text());
    EXPECT_EQ(t.p.pictureFiles, before.pictureFiles);
    EXPECT_EQ(t.Story(), "текст игры");
  }
  for (int k = -1; k <= kMaxCondition; ++k)
    ASSERT_EQ(t.p.conditions.Get(k), before.conditions.Get(k));
}

TEST_F(SaveLoadTest, RefusedNamesAndFailedWritesChangeNothingOnDisk) {
  Play();
  // A NUL would cut the path short and write some other file of the folder.
  for (const std::string& name : {std::string("../x"), std::string("a/b"), std::string("a\\b"),
                                  std::string(".."), std::string("room1.txt\0", 10)}) {
    t.platform.messages.clear();
    t.platform.inputAnswers.push_back(name);
    EXPECT_FALSE(SaveGame(t.p)) << name;
    ASSERT_EQ(t.platform.messages.size(), 1u);
    EXPECT_EQ(t.platform.messages[0].rfind("Недопустимое имя для сохранения игры: ", 0), 0u);
  }
  EXPECT_EQ(ToUtf8(ReadRaw(t.game() / "room1.txt")), "РН Поляна\r\nОП\r\nНа поляне.\r\n");
  EXPECT_FALSE(fs::exists(t.root.path() / "x.sav"));

  fs::create_directory(t.game() / "busy.sav");
  WriteRaw(t.game() / "busy.sav" / "inside", "keep");
  t.platform.inputAnswers.push_back("BUSY");  // names are matched ignoring letter case
  EXPECT_FALSE(SaveGame(t.p));
  EXPECT_EQ(t.platform.messages.back(), "Не удалось сохранить игру: " + ToUtf8(t.p.gameFolderText) +
                                            "BUSY.sav\r\nОшибка записи: " + std::strerror(EISDIR));
  EXPECT_EQ(ReadRaw(t.game() / "busy.sav" / "inside"), "keep");
  EXPECT_EQ(std::distance(fs::directory_iterator(t.game()), fs::directory_iterator()), 4);

  // An empty (or cancelled) name is still a name: the file is called ".sav".
  t.platform.inputAnswers.push_back("");
  EXPECT_TRUE(SaveGame(t.p));
  EXPECT_TRUE(fs::exists(t.game() / ".sav"));
}

TEST_F(SaveLoadTest, ASaveOfAnotherGameLoadsOnlyWhenThePlayerSaysYes) {
  WriteSave("other.sav", "1,4,0,9,\"Чужая игра\"");
  Play();
  Save("mine");
  t.platform.questions.clear();
  t.p.story.SetText("текст игры"_cp);
  GameState before = t.p;

  t.platform.yesNoAnswers = {false};
  EXPECT_FALSE(Load("other.sav"));
  EXPECT_EQ(
      t.platform.questions,
      std::vector<std::string>{
          "Сохранение сделано в другой игре («Чужая игра»). Загрузить его вместо текущей игры?"});
  // Enter on the question must not replace the game.
  EXPECT_EQ(t.platform.preferredAnswers, std::vector<Platform::Answer>{Platform::Answer::No});
  EXPECT_TRUE(t.platform.messages.empty());
  EXPECT_EQ(t.p.gameTitle.Text(), before.gameTitle.Text());
  EXPECT_EQ(t.p.moves, before.moves);
  EXPECT_EQ(t.Story(), "текст игры");

  ASSERT_TRUE(Load("mine.sav"));  // the running game's own save asks nothing
  t.platform.yesNoAnswers = {true};
  ASSERT_TRUE(Load("other.sav"));
  EXPECT_EQ(ToUtf8(t.p.gameTitle.Text()), "Чужая игра");
  EXPECT_EQ(t.platform.questions.size(), 2u);

  // With no game running there is nothing to lose.
  t.p.gameTitle = Variant();
  t.p.location = Variant();
  ASSERT_TRUE(Load("mine.sav"));
  EXPECT_EQ(t.platform.questions.size(), 2u);
}

TEST_F(SaveLoadTest, OverwritingKeepsTheFileAndAFailedSaveSaysWhy) {
  Play();
  const fs::path file = t.game() / "keep.sav";
  Save("keep");
  fs::permissions(file, fs::perms(0600));
  const std::vector<std::string> saved = Save("keep");
  struct stat st {};
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  const std::string failed =
      "Не удалось сохранить игру: " + ToUtf8(t.p.gameFolderText) + "keep.sav\r\n";

  // A save the player protected stays as it is.
  const std::string before = ReadRaw(file);
  fs::permissions(file, fs::perms(0444));
  t.platform.inputAnswers.push_back("keep");
  EXPECT_FALSE(SaveGame(t.p));
  EXPECT_EQ(t.platform.messages.back(), failed + "Нет прав на запись: файл защищён от записи.");
  EXPECT_EQ(ReadRaw(file), before);

  // A failed write: the system's own words for it.
  fs::permissions(file, fs::perms(0644));
  {
    FileSizeLimit limit(1000);
    t.platform.inputAnswers.push_back("keep");
    EXPECT_FALSE(SaveGame(t.p));
  }
  EXPECT_EQ(t.platform.messages.back(), failed + "Ошибка записи: " + std::strerror(EFBIG));
  EXPECT_EQ(ReadRaw(file), before);
}

// The save, load and exit commands of the input line.
class SaveCommandsTest : public SaveLoadTest {
 protected:
  void Type(const std::string& utf8) {
    t.p.input.SetText(FromUtf8(utf8));
    OnInputKey(t.p, kEnter);
  }
};

TEST_F(SaveCommandsTest, SaveReportsSuccessOnlyForAWrittenFile) {
  Play();
  t.p.story.SetText("");
  t.platform.inputAnswers = {"one", "../two"};
  Type("сохранить игру");
  EXPECT_EQ(t.platform.questions.back(), "Введите имя для сохранения игры.");
  EXPECT_TRUE(fs::exists(t.game() / "one.sav"));
  Type("СОХРАНИТЬСЯ");  // refused: the refusal says it all
  EXPECT_EQ(t.Story(), "\r\nИГРА УСПЕШНО СОХРАНЕНА\r\n");
  EXPECT_EQ(t.p.input.text, "");

  // With no game nothing is asked or written; the line is printed all the same.
  t.p.gameTitle = Variant();
  Type("сохраниться");
  EXPECT_EQ(t.platform.questions.size(), 2u);
  EXPECT_EQ(t.Story(), "\r\nИГРА УСПЕШНО СОХРАНЕНА\r\n\r\nИГРА УСПЕШНО СОХРАНЕНА\r\n");
}

TEST_F(SaveCommandsTest, AFileFarLargerThanASaveIsRefusedUnreadAndPlayGoesOn) {
  {  // a gigabyte that takes no disk
    const int fd = ::open((t.game() / "huge.sav").c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, 1LL << 30), 0);
    ::close(fd);
  }
  Play();
  t.p.story.SetText("текст игры"_cp);
  GameState before = t.p;
  EXPECT_FALSE(Load("huge.sav"));
  EXPECT_EQ(t.platform.messages,
            std::vector<std::string>{"Не удалось загрузить игру: " + ToUtf8(t.p.gameFolderText) +
                                     "huge.sav\r\nФайл слишком велик для сохранённой игры."});
  EXPECT_EQ(t.p.location, before.location);
  EXPECT_EQ(t.p.gameTitle.Text(), before.gameTitle.Text());
  EXPECT_EQ(t.Story(), "текст игры");
  Type("осмотреться");
  EXPECT_EQ(t.p.moves, Variant(18));
}

TEST_F(SaveCommandsTest, ExitSavesWhenAskedAndStaysWhenTheSaveFails) {
  Play();
  t.platform.yesNoAnswers = {true, true, false};
  t.platform.inputAnswers = {"bad/name", "last"};
  Type("выход");
  EXPECT_EQ(t.platform.messages.size(), 1u);  // refused: still playing
  EXPECT_EQ(ExpectEnd([&] { Type("выйти из игры"); }), kExitNormal);
  EXPECT_TRUE(fs::exists(t.game() / "last.sav"));
  EXPECT_EQ(ExpectEnd([&] { Type("покинуть игру"); }), kExitNormal);
  EXPECT_EQ(t.platform.questions.size(), 5u);  // three questions, two names
}

}  // namespace
}  // namespace mireval
