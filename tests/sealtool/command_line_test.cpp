#include "sealtool/command_line.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "base/cipher.h"
#include "base/lines.h"
#include "base/text.h"
#include "sealtool/seal_files.h"
#include "support/child_process.h"
#include "support/test_game.h"

namespace fs = std::filesystem;

namespace mireval::seal {
namespace {

struct SealRun {
  int status;
  std::string out;
  std::string err;
};

SealRun Seal(std::vector<std::string> args) {
  std::ostringstream out, err;
  int status = SealCommandLine(args, out, err);
  return {status, out.str(), err.str()};
}

TEST(SealCommandLine, OneLinePerFileAndTheExitStatus) {
  TempDir dir;
  std::string d = dir.path().string();
  WriteGameFile(dir.path() / "room1.txt", "РН x\n");
  WriteGameFile(dir.path() / "main.txt", "Текстовый квест\n");
  WriteGameFile(dir.path() / "notes.txt", "abcd\n");

  SealRun r = Seal({"--encrypt", "--strong", d});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "encrypted " + d + "/room1.txt (strong)\n");
  EXPECT_EQ(Seal({"--encrypt", d}).out, "skipped " + d + "/room1.txt (already encrypted)\n");
  EXPECT_EQ(Seal({"--decrypt", d}).out, "skipped " + d + "/room1.txt (not ordinarily encrypted)\n");

  WriteRaw(dir.path() / "room0.txt", MarkerLine(CipherKind::Ordinary) + "\r\n900\r\n\"0\"\r\n");
  r = Seal({"--decrypt", d});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out.substr(0, r.out.find('\n')),
            "failed " + d + "/room0.txt: damaged (damaged scrambled line: 900), left unchanged");
}

// The terminal shows the character itself beside its code.
TEST(SealCommandLine, AUtf8FileWithACharacterWindows1251LacksFailsAndTheRestGoOn) {
  TempDir dir;
  const std::string d = dir.path().string();
  WriteRaw(dir.path() / "room1.txt", "РН x\nОП\nулыбка 😀\n");
  WriteRaw(dir.path() / "room2.txt", "\xEF\xBB\xBFРН x\nОП\nЦена: 5 €\n");
  WriteRaw(dir.path() / "room3.txt", "\xEF\xBB\xBFРН x\nОП \xD0\n");

  SealRun r = Seal({"--encrypt", d});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "failed " + d +
                       "/room1.txt: not encrypted (в строке 3 знак U+1F600, которого нет в "
                       "кодировке Windows-1251: «😀»), left unchanged\n"
                       "encrypted " +
                       d +
                       "/room2.txt\n"
                       "failed " +
                       d +
                       "/room3.txt: not encrypted (в строке 2 байт D0, с "
                       "которого не начинается ни один знак UTF-8), left unchanged\n");
  EXPECT_EQ(ReadRaw(dir.path() / "room1.txt"), "РН x\nОП\nулыбка 😀\n");
  EXPECT_EQ(ReadRaw(dir.path() / "room2.txt"),
            Encrypt(SplitLines(GameText("РН x\nОП\nЦена: 5 €\n")), CipherKind::Ordinary));
  EXPECT_EQ(Seal({"--encrypt-file", d + "/room1.txt"}).status, 1);
}

TEST(SealCommandLine, OnlyFilesThePlayerReadsScrambledAreScrambledOneByOne) {
  TempDir dir;
  const std::string d = dir.path().string();
  const std::string png = std::string("\x89PNG\r\n\x1a\n", 8) + std::string(100, '\0');
  WriteRaw(dir.path() / "picture.png", png);
  for (const char* name : {"main.txt", "notes.txt", "Room.txt", "roomA.txt", "room1.txt.bak"})
    WriteGameFile(dir.path() / name, "Текстовый квест\n");
  for (const char* name :
       {"picture.png", "main.txt", "notes.txt", "Room.txt", "roomA.txt", "room1.txt.bak"}) {
    for (bool strong : {false, true}) {
      SealRun r = strong ? Seal({"--encrypt-file", "--strong", d + "/" + name})
                         : Seal({"--encrypt-file", d + "/" + name});
      EXPECT_EQ(r.status, 1) << name;
      EXPECT_EQ(r.out, "");
      EXPECT_EQ(r.err,
                "mirseal: " + d + "/" + name +
                    ": Этот файл игрок не читает зашифрованным, поэтому он не зашифрован: "
                    "шифруются только файлы локаций (room1.txt, room2.txt, ..., room0.txt) "
                    "и списки invent.txt, zadan.txt, hints.txt. Файл оставлен без изменений.\n");
    }
  }
  EXPECT_EQ(ReadRaw(dir.path() / "picture.png"), png);
  EXPECT_EQ(ReadRaw(dir.path() / "main.txt"), GameText("Текстовый квест\n"));
  for (const char* name : {"room0.txt", "Invent.TXT", "zadan.txt", "HINTS.txt", "ROOM12.TXT"}) {
    WriteRaw(dir.path() / name, "abcd\r\n");
    EXPECT_EQ(Seal({"--encrypt-file", d + "/" + name}).out, "encrypted " + d + "/" + name + "\n");
    EXPECT_EQ(ReadRaw(dir.path() / name), Encrypt({"abcd"}, CipherKind::Ordinary));
  }

  // A file scrambled by mistake, as earlier versions allowed, can be turned back.
  ScrambleFile(dir.path() / "main.txt", CipherKind::Ordinary);
  SealRun r = Seal({"--decrypt-file", d + "/main.txt"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "decrypted " + d + "/main.txt\n");
  EXPECT_EQ(ReadRaw(dir.path() / "main.txt"), GameText("Текстовый квест\n"));
  // Plain and strongly scrambled files stay as they are.
  EXPECT_EQ(Seal({"--decrypt-file", d + "/main.txt"}).out,
            "skipped " + d + "/main.txt (not ordinarily encrypted)\n");

  fs::permissions(dir.path() / "room0.txt", fs::perms(0444));
  const std::string scrambled = ReadRaw(dir.path() / "room0.txt");
  r = Seal({"--decrypt-file", d + "/room0.txt"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "failed " + d +
                       "/room0.txt: cannot write it (the file is read-only), left unchanged\n");
  EXPECT_EQ(ReadRaw(dir.path() / "room0.txt"), scrambled);
}

TEST(SealCommandLine, UsageErrorsTouchNothing) {
  TempDir dir;
  std::string d = dir.path().string();
  WriteRaw(dir.path() / "room1.txt", "x");
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {d},
           {"--encrypt", d, d},
           {"--encrypt", "--decrypt", d},
           {"--decrypt", "--strong", d},
           {"--encrypt", "--fast", d},
           {"--encrypt", d + "/room1.txt"},
           {"--encrypt-file", d},
           {"--decrypt-file", d},
           {"--decrypt-file", "--strong", d + "/room1.txt"},
           {"--decrypt-file", d + "/room1.txt", "--decrypt"},
       }) {
    SealRun r = Seal(args);
    EXPECT_EQ(r.status, 2) << args.back();
    EXPECT_EQ(r.err.rfind("mirseal: ", 0), 0u);
    EXPECT_NE(r.err.find("--decrypt-file FILE"), std::string::npos);
  }
  EXPECT_EQ(ReadRaw(dir.path() / "room1.txt"), "x");
}

// The message names what is wrong, so that an author can tell a typo from a missing folder.
TEST(SealCommandLine, AUsageErrorSaysWhatIsWrong) {
  TempDir dir;
  const std::string d = dir.path().string();
  WriteRaw(dir.path() / "room1.txt", "x");
  const std::string file = d + "/room1.txt";
  for (const auto& [args, problem] : std::vector<std::pair<std::vector<std::string>, std::string>>{
           {{}, "no operation"},
           {{"--strong", d}, "no operation"},
           {{"--decrypt"}, "no path"},
           {{"--encrypt", "--encrypt-file", d}, "more than one operation"},
           {{"--encrypt", d, file}, "more than one path"},
           {{"--encrypt", "-x", d}, "unknown option -x"},
           {{"--decrypt", d, "--strong"}, "strongly encrypted files cannot be decrypted"},
           {{"--encrypt", file}, "no such folder: " + file},
           {{"--decrypt-file", d}, "no such file: " + d},
           // A lone "-" is a path, not an option.
           {{"--encrypt", "-"}, "no such folder: -"},
       }) {
    SealRun r = Seal(args);
    EXPECT_EQ(r.status, 2) << problem;
    EXPECT_EQ(r.err.substr(0, r.err.find("\nUsage: mirseal")), "mirseal: " + problem);
    EXPECT_EQ(r.out, "");
  }
  EXPECT_EQ(ReadRaw(dir.path() / "room1.txt"), "x");

  // A folder without the tool's files is no error, but the author is told.
  fs::create_directories(dir.path() / "empty");
  SealRun r = Seal({"--encrypt", d + "/empty"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "mirseal: no location or list files in " + d + "/empty\n");
}

// The player reads what the tool writes exactly like the plain game.
std::string Transcript(const fs::path& root, const fs::path& game, const std::string& input) {
  fs::create_directories(root / "work");
  const ChildRun run = RunChild({MIRTERM_PATH, game.string()},
                                {.cwd = root / "work", .input = input, .errToOut = true});
  EXPECT_EQ(run.status, 0) << game;
  // The game folder itself is the one thing that differs between the runs.
  return std::regex_replace(run.out, std::regex("\"game_dir\":\"[^\"]*\""), "");
}

TEST(SealedDemo, PlaysLikeThePlainGame) {
  TempDir plain, ordinary, strong;
  for (const TempDir* d : {&ordinary, &strong})
    fs::copy(DEMO_GAME_DIR, d->path() / "game", fs::copy_options::recursive);
  ASSERT_EQ(Seal({"--encrypt", (ordinary.path() / "game").string()}).status, 0);
  ASSERT_EQ(Seal({"--encrypt", "--strong", (strong.path() / "game").string()}).status, 0);
  EXPECT_EQ(SplitLines(ReadRaw(strong.path() / "game" / "room1.txt"))[0],
            MarkerLine(CipherKind::Strong));

  // The same game saved in UTF-8 file by file, every other file with a byte order mark.
  TempDir utf8;
  fs::copy(DEMO_GAME_DIR, utf8.path() / "game", fs::copy_options::recursive);
  bool mark = false;
  for (const std::string& name : SealFileNames(utf8.path() / "game")) {
    const fs::path file = utf8.path() / "game" / name;
    const std::string text = ReadRaw(file);
    if (MarkerKind(SplitLines(text).at(0))) continue;  // scrambled already
    WriteRaw(file, ((mark = !mark) ? "\xEF\xBB\xBF" : "") + ToUtf8(text));
  }
  ASSERT_EQ(Seal({"--encrypt", (utf8.path() / "game").string()}).status, 0);

  const std::string script = "\n/state\nосмотреться\nидти на север\n\n/state\n";
  std::string expected = Transcript(plain.path(), DEMO_GAME_DIR, script);
  EXPECT_NE(expected.find("Вы стоите на развилке."), std::string::npos) << expected;
  EXPECT_EQ(Transcript(ordinary.path(), ordinary.path() / "game", script), expected);
  EXPECT_EQ(Transcript(strong.path(), strong.path() / "game", script), expected);
  EXPECT_EQ(Transcript(utf8.path(), utf8.path() / "game", script), expected);
}

}  // namespace
}  // namespace mireval::seal
