#include "script/game_files.h"

#include <gtest/gtest.h>

#include "base/cipher.h"
#include "base/files.h"
#include "base/script_error.h"
#include "base/text.h"
#include "support/test_game.h"

namespace mireval {
namespace {

TEST(GameFiles, LinesEndInCrLfLfOrCr) {
  TestPlayer t;
  t.UseGameDir();
  WriteRaw(t.game() / "room1.txt", "a\r\nb\nc\rd\r\n\r\ne");
  OpenGameFile(t.p, "room1.txt");
  std::vector<std::string> lines;
  while (!t.p.file.Eof()) {
    ReadScriptLine(t.p);
    lines.push_back(t.p.line);
  }
  EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "c", "d", "", "e"}));
  EXPECT_THROW(ReadScriptLine(t.p), ScriptError);
}

TEST(GameFiles, LongLinesEndWhereverTheirLineEndFalls) {
  TestPlayer t;
  t.UseGameDir();
  const std::string a(300, 'a'), b(600, 'b'), c(256, 'c'), d(255, 'd');
  WriteRaw(t.game() / "room1.txt", a + "\r" + b + "\n" + c + "\r\n" + d + "\r" + "\n" + c);
  OpenGameFile(t.p, "room1.txt");
  std::vector<std::string> lines;
  while (!t.p.file.Eof()) {
    ReadPlainLine(t.p);
    lines.push_back(t.p.line);
  }
  EXPECT_EQ(lines, (std::vector<std::string>{a, b, c, d, c}));
}

TEST(GameFiles, OnlyRegularFilesAreRead) {
  TestPlayer t;
  t.UseGameDir();
  std::filesystem::create_directories(t.game() / "room1.txt");
  EXPECT_THROW(OpenGameFile(t.p, "room1.txt"), ScriptError);
  // A device would be read without end.
  std::filesystem::create_symlink("/dev/zero", t.game() / "room2.txt");
  EXPECT_THROW(OpenGameFile(t.p, "room2.txt"), ScriptError);
}

TEST(GameFiles, NamesAreFoundWhateverTheirLetterCase) {
  TestPlayer t;
  t.UseGameDir();
  WriteRaw(t.game() / "Room12.TXT", "x\r\n");
  OpenGameFile(t.p, "room12.txt");
  ReadScriptLine(t.p);
  EXPECT_EQ(t.p.line, "x");
  EXPECT_THROW(OpenGameFile(t.p, "room13.txt"), ScriptError);
}

TEST(GameFiles, TrailingBlanksAndDotsOfANameAreIgnoredAsOnTheAuthorsSystems) {
  TempDir dir;
  WriteRaw(dir.path() / "Pics" / "mill.png", "x");
  const std::string folder = PathText(dir.path());
  EXPECT_EQ(ResolvePath(folder + "/pics/MILL.PNG "), dir.path() / "Pics" / "mill.png");
  EXPECT_EQ(ResolvePath(folder + "\\Pics. \\mill.png.."), dir.path() / "Pics" / "mill.png");
  // A name that exists as written is taken as it is, and a missing one is kept as written.
  WriteRaw(dir.path() / "odd. ", "y");
  EXPECT_EQ(ResolvePath(folder + "/odd. "), dir.path() / "odd. ");
  EXPECT_EQ(ResolvePath(folder + "/none "), dir.path() / "none ");
}

TEST(GameFiles, MarkerSwitchesToTheDecodedTextWithoutWritingAnyFile) {
  TestPlayer t;
  t.UseGameDir();
  WriteRaw(t.game() / "room1.txt", Encrypt({"РН Лес"_cp, "ОП"_cp, "текст"_cp}, CipherKind::Strong));
  // Nothing can be written under the old scratch name (even by root): that must not matter.
  std::filesystem::create_directory(t.work() / "temps.dat");
  OpenGameFile(t.p, "room1.txt");
  ReadScriptLine(t.p);
  EXPECT_EQ(t.p.line, "РН Лес"_cp);
  EXPECT_TRUE(std::filesystem::is_empty(t.work() / "temps.dat"));
  ReadScriptLine(t.p);
  ReadScriptLine(t.p);
  EXPECT_EQ(t.p.line, "текст"_cp);
  EXPECT_TRUE(t.p.file.Eof());
  CloseGameFile(t.p);
}

TEST(GameFiles, AFileOfOnlyTheMarkerCannotBeRead) {
  TestPlayer t;
  t.UseGameDir();
  WriteRaw(t.game() / "room1.txt", MarkerLine(CipherKind::Ordinary) + "\r\n");
  OpenGameFile(t.p, "room1.txt");
  EXPECT_THROW(ReadScriptLine(t.p), ScriptError);
}

}  // namespace
}  // namespace mireval
