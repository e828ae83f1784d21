#include "shell/save_load.h"

#include <gtest/gtest.h>

#include "engine/lines.h"
#include "engine/text.h"
#include "shell/browser.h"
#include "shell/keys.h"
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
    t.Game("main.txt", "Текстовый квест\nИгра\n1\n");
    t.Game("room0.txt", "РН Общее\n");
    t.Game("room1.txt", "РН Поляна\nОП\nНа поляне.\n");
    t.Game("room2.txt", "РН Лес\nОП\nВ лесу.\n\nОП 7\nВ лесу, и условие 7.\n");
    t.UseGameDir();
  }

  // A game in progress whose every saved part has a value of its own.
  void Play() {
    Player& p = t.p;
    p.Room = 2;
    p.Harakter[1] = 3;
    p.Harakter[2] = 1;
    p.Hody = 17;
    p.GameName = "Игра, \"вторая\""_cp;
    const char* words[] = {"добро", "зло, и \"зло\"", "добрый", "святой", "злой", "мерзавец"};
    for (int i = 1; i <= 6; ++i) p.HarakterWord[i] = FromUtf8(words[i - 1]);
    p.Kartinki[1] = "лес.jpg"_cp;
    p.Kartinki[500] = "a,b \"c\""_cp;
    p.Kartinki[1000] = "last.png";
    for (int k = 0; k <= kMaxCondition; ++k) p.Uslovie.Set(k, k % 7 == 0 || k == 10000);
  }

  std::string Save(const std::string& name) {
    t.platform.inputAnswers.push_back(name);
    EXPECT_TRUE(SaveGame(t.p));
    return ReadRaw(t.game() / (name + ".sav"));
  }

  bool Load(const std::string& name) { return LoadSavedGame(t.p, t.p.GameDir, name); }

  // Writes a hand-made save file: the given first lines, empty pictures, conditions all false.
  void WriteSave(const std::string& name, const std::string& line1, const std::string& line2,
                 int lines = kSaveFileLines, const std::string& firstPicture = "\"\"",
                 const std::string& condition5 = "100") {
    std::string text = line1 + "\n" + line2 + "\n" + firstPicture + "\n";
    for (int i = 2; i <= kPictureSlots; ++i) text += "\"\"\n";
    for (int k = 0; k <= kMaxCondition; ++k) {
      std::string n = std::to_string(Decodes(100, k) ? 101 : 100);
      text += (k == 5 ? condition5 : n) + "\n";
    }
    std::vector<std::string> all = SplitLines(text);
    all.resize(static_cast<std::size_t>(lines));
    std::string out;
    for (const std::string& l : all) out += l + "\n";
    t.Game(name, out);
  }

  TestPlayer t;
};

TEST_F(SaveLoadTest, WritesTheRecordFormat) {
  Play();
  std::vector<std::string> lines = SplitLines(Save("slot"));
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(kSaveFileLines));
  EXPECT_EQ(ToUtf8(lines[0]), "2,3,1,17,\"Игра, \"\"вторая\"\"\"");
  EXPECT_EQ(ToUtf8(lines[1]),
            "\"добро\",\"зло, и \"\"зло\"\"\",\"добрый\",\"святой\",\"злой\",\"мерзавец\"");
  EXPECT_EQ(ToUtf8(lines[2]), "\"лес.jpg\"");
  EXPECT_EQ(lines[3], "\"\"");
  EXPECT_EQ(lines[1001], "\"last.png\"");
  for (int k = 0; k <= kMaxCondition; ++k) {
    const std::string& line = lines[static_cast<std::size_t>(1002 + k)];
    int n = std::stoi(line);
    ASSERT_EQ(std::to_string(n), line);
    ASSERT_TRUE(n >= 100 && n <= 899) << "condition " << k << ": " << n;
    ASSERT_EQ(Decodes(n, k), t.p.Uslovie.Get(k)) << "condition " << k;
  }
  std::string raw = ReadRaw(t.game() / "slot.sav");
  EXPECT_EQ(raw.substr(raw.size() - 2), "\r\n");
  EXPECT_EQ(raw.find("\r\n\r\n"), std::string::npos);  // every line ends in CR LF, no LF alone
}

TEST_F(SaveLoadTest, LoadingRestoresEverySavedPartAndDescribesTheLocation) {
  Play();
  t.p.Uslovie.Set(-1, true);
  Save("slot");

  GameState saved = t.p;
  t.p.Room = 1;
  t.p.Harakter[1] = 0;
  t.p.Harakter[2] = 9;
  t.p.Hody = 0;
  t.p.GameName = "Другая"_cp;
  for (int i = 1; i <= 6; ++i) t.p.HarakterWord[i] = "x";
  t.p.Kartinki[500] = "";
  for (int k = 0; k <= kMaxCondition; ++k) t.p.Uslovie.Set(k, k % 2 == 1);
  t.p.Uslovie.Set(-1, false);
  t.p.T.SetText("старый текст"_cp);
  t.p.Picture1.visible = true;
  t.p.Command1[0].visible = true;

  ASSERT_TRUE(Load("slot.sav"));
  EXPECT_TRUE(t.platform.messages.empty());
  EXPECT_EQ(t.p.Room, saved.Room);
  EXPECT_TRUE(t.p.Room.IsNumber());
  EXPECT_EQ(t.p.Harakter[1], Variant(3));
  EXPECT_EQ(t.p.Harakter[2], Variant(1));
  EXPECT_EQ(t.p.Hody, Variant(17));
  EXPECT_EQ(t.p.GameName.Text(), saved.GameName.Text());
  for (int i = 1; i <= 6; ++i) EXPECT_EQ(t.p.HarakterWord[i].Text(), saved.HarakterWord[i].Text());
  EXPECT_EQ(t.p.Kartinki, saved.Kartinki);
  // 0 and 3000 are the status line's own; every other condition comes from the file.
  for (int k = 1; k <= kMaxCondition; ++k) {
    if (k == 3000) continue;
    ASSERT_EQ(t.p.Uslovie.Get(k), saved.Uslovie.Get(k)) << k;
  }
  EXPECT_FALSE(t.p.Uslovie.Get(-1));  // never saved, so not restored
  EXPECT_TRUE(t.p.UslChanged);
  EXPECT_EQ(t.Story(), "В лесу, и условие 7.\r\n");
  EXPECT_EQ(ToUtf8(t.p.Label1[1].caption).rfind("Ходы: 17,", 0), 0u);
  EXPECT_FALSE(t.p.Picture1.visible);
  EXPECT_FALSE(t.p.Command1[0].visible);
}

TEST_F(SaveLoadTest, TwoSavesOfOneStateDifferOnDiskAndLoadAlike) {
  Play();
  std::string a = Save("a"), b = Save("b");
  EXPECT_NE(a, b);
  EXPECT_EQ(a.substr(0, a.find("\r\n")), b.substr(0, b.find("\r\n")));
  ASSERT_TRUE(Load("a.sav"));
  GameState fromA = t.p;
  ASSERT_TRUE(Load("b.sav"));
  for (int k = 0; k <= kMaxCondition; ++k) ASSERT_EQ(t.p.Uslovie.Get(k), fromA.Uslovie.Get(k));
}

TEST_F(SaveLoadTest, EveryConditionTrueOrFalseIsEncodable) {
  for (bool value : {true, false}) {
    for (int k = 0; k <= kMaxCondition; ++k) t.p.Uslovie.Set(k, value);
    t.p.Room = 1;
    std::vector<std::string> lines = SplitLines(Save("all"));
    for (int k = 0; k <= kMaxCondition; ++k) {
      int n = std::stoi(lines[static_cast<std::size_t>(1002 + k)]);
      ASSERT_TRUE(n >= 100 && n <= 899 && Decodes(n, k) == value) << k << " " << n;
    }
  }
}

TEST_F(SaveLoadTest, HandWrittenFilesKeepQuotedTextsAndBareNumbers) {
  WriteSave("hand.sav", "\"1\",\"5\",2,,\"Ручная\"", "1,\"a\",\"b\",\"c\",\"d\",\"e\"",
            kSaveFileLines, "\"старый \"вид\"\"", "196");
  ASSERT_TRUE(Load("hand.sav"));
  EXPECT_TRUE(t.p.Room.IsText());
  EXPECT_EQ(t.p.Room.Text(), "1");
  EXPECT_TRUE(t.p.Harakter[1].IsText());
  EXPECT_TRUE(t.p.Harakter[2].IsNumber());
  EXPECT_TRUE(t.p.Hody.IsEmpty());
  EXPECT_TRUE(t.p.HarakterWord[1].IsNumber());
  // Written before quotes were doubled: the text ends at its second quote, as it always did.
  EXPECT_EQ(ToUtf8(t.p.Kartinki[1]), "старый ");
  EXPECT_TRUE(t.p.Uslovie.Get(5));
  EXPECT_FALSE(t.p.Uslovie.Get(6));
  EXPECT_EQ(t.Story(), "На поляне.\r\n");
}

TEST_F(SaveLoadTest, DamagedFilesAreReportedAndChangeNothing) {
  const std::string good1 = "1,0,0,0,\"Игра\"", good2 = "\"a\",\"b\",\"c\",\"d\",\"e\",\"f\"";
  WriteSave("short.sav", good1, good2, kSaveFileLines - 1);
  WriteSave("text.sav", good1, good2, kSaveFileLines, "\"\"", "\"100\"");
  WriteSave("word.sav", good1, good2, kSaveFileLines, "\"\"", "сто");
  WriteSave("quote.sav", good1, good2, kSaveFileLines, "\"не закрыта");
  WriteSave("four.sav", "1,0,0,\"Игра\"", good2);
  WriteSave("points.sav", "1,\"много\",0,0,\"Игра\"", good2);
  WriteSave("noroom.sav", "9,0,0,0,\"Игра\"", good2);
  WriteSave("zero.sav", "0,0,0,0,\"Игра\"", good2);
  WriteSave("bare.sav", "1,0,0,0,Игра", good2);
  fs::create_directory(t.game() / "folder.sav");

  Play();
  t.p.T.SetText("текст игры"_cp);
  GameState before = t.p;
  for (const char* name :
       {"missing.sav", "short.sav", "text.sav", "word.sav", "quote.sav", "four.sav", "points.sav",
        "noroom.sav", "zero.sav", "bare.sav", "folder.sav"}) {
    t.platform.messages.clear();
    EXPECT_FALSE(Load(name)) << name;
    ASSERT_EQ(t.platform.messages.size(), 1u) << name;
    EXPECT_EQ(t.platform.messages[0], "Не удалось загрузить игру: " + ToUtf8(t.p.GameDir) + name);
    EXPECT_EQ(t.p.Room, before.Room);
    EXPECT_EQ(t.p.GameName.Text(), before.GameName.Text());
    EXPECT_EQ(t.p.Kartinki, before.Kartinki);
    EXPECT_EQ(t.Story(), "текст игры");
  }
  for (int k = -1; k <= kMaxCondition; ++k) ASSERT_EQ(t.p.Uslovie.Get(k), before.Uslovie.Get(k));
}

TEST_F(SaveLoadTest, NamesLeavingTheGameFolderAreRefused) {
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
  EXPECT_FALSE(fs::exists(t.root.path() / ".sav"));
  // An empty (or cancelled) name is still a name: the file is called ".sav".
  t.platform.inputAnswers.push_back("");
  EXPECT_TRUE(SaveGame(t.p));
  EXPECT_TRUE(fs::exists(t.game() / ".sav"));
}

TEST_F(SaveLoadTest, AFailedWriteIsReportedAndLeavesWhatWasThere) {
  Play();
  fs::create_directory(t.game() / "busy.sav");
  WriteRaw(t.game() / "busy.sav" / "inside", "keep");
  t.platform.inputAnswers.push_back("busy");
  EXPECT_FALSE(SaveGame(t.p));
  ASSERT_EQ(t.platform.messages.size(), 1u);
  EXPECT_EQ(t.platform.messages[0],
            "Не удалось сохранить игру: " + ToUtf8(t.p.GameDir) + "busy.sav");
  EXPECT_EQ(ReadRaw(t.game() / "busy.sav" / "inside"), "keep");
  EXPECT_EQ(std::distance(fs::directory_iterator(t.game()), fs::directory_iterator()), 5);

  t.p.GameDir = FromUtf8((t.root.path() / "gone").string()) + "/";
  t.platform.inputAnswers.push_back("slot");
  EXPECT_FALSE(SaveGame(t.p));
  EXPECT_EQ(t.platform.messages.size(), 2u);
}

TEST_F(SaveLoadTest, ANameThatExistsInAnotherCaseIsReplaced) {
  Play();
  WriteRaw(t.game() / "Slot.SAV", "old");
  Save("slot");
  EXPECT_NE(ReadRaw(t.game() / "Slot.SAV"), "old");
  EXPECT_FALSE(fs::exists(t.game() / "slot.sav"));
}

// The save, load and exit commands of the input line.
class SaveCommandsTest : public SaveLoadTest {
 protected:
  void Type(const std::string& utf8) {
    t.p.Text2.SetText(FromUtf8(utf8));
    Text2_KeyPress(t.p, kEnter);
  }
};

TEST_F(SaveCommandsTest, SaveReportsSuccessOnlyForAWrittenFile) {
  Play();
  t.p.T.SetText("");
  t.platform.inputAnswers.push_back("one");
  Type("сохранить игру");
  EXPECT_EQ(t.platform.questions.back(), "Введите имя для сохранения игры.");
  EXPECT_TRUE(fs::exists(t.game() / "one.sav"));
  EXPECT_EQ(t.Story(), "\r\nИГРА УСПЕШНО СОХРАНЕНА\r\n");
  EXPECT_EQ(t.p.Text2.text, "");

  t.platform.inputAnswers.push_back("../two");
  Type("СОХРАНИТЬСЯ");
  EXPECT_EQ(t.Story(), "\r\nИГРА УСПЕШНО СОХРАНЕНА\r\n");  // the refusal said it all
  EXPECT_EQ(t.platform.messages.size(), 1u);
  EXPECT_EQ(t.p.Text2.text, "");

  // With no game nothing is asked or written; the line is printed all the same.
  t.p.GameName = Variant();
  std::size_t asked = t.platform.questions.size();
  Type("сохраниться");
  EXPECT_EQ(t.platform.questions.size(), asked);
  EXPECT_EQ(t.Story(), "\r\nИГРА УСПЕШНО СОХРАНЕНА\r\n\r\nИГРА УСПЕШНО СОХРАНЕНА\r\n");
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

TEST_F(SaveCommandsTest, LoadCommandShowsTheSavesOfTheFolderAndReportsAtOnce) {
  Play();
  Save("one");
  WriteRaw(t.game() / "notes.txt", "x");
  ChangeFolder(t.p, FromUtf8(t.game().string()));
  t.p.T.SetText("");
  Type("загрузить игру");
  EXPECT_TRUE(t.p.Picture1.visible);
  EXPECT_EQ(ToUtf8(t.p.Label2.caption), "Загрузка сохраненной игры.");
  EXPECT_EQ(t.p.File1.pattern, "*.sav");
  EXPECT_EQ(t.p.File1.items, std::vector<std::string>{"one.sav"});
  EXPECT_EQ(t.Story(), "\r\nИГРА УСПЕШНО ЗАГРУЖЕНА \r\n");

  t.p.Room = 1;
  File1_Click(t.p, "one.sav");
  EXPECT_EQ(t.p.Room, Variant(2));
  EXPECT_FALSE(t.p.Picture1.visible);
}

}  // namespace
}  // namespace mireval
