#include "sealtool/seal_files.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <map>

#include "engine/lines.h"
#include "engine/text.h"
#include "support/test_game.h"

namespace fs = std::filesystem;

namespace mireval::seal {
namespace {

const std::string kMarker = MarkerLine(CipherKind::Ordinary) + "\r\n";

std::map<std::string, std::string> Snapshot(const fs::path& dir) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::directory_iterator(dir))
    if (e.is_regular_file()) files[e.path().filename().string()] = ReadRaw(e.path());
  return files;
}

// Makes writing `file` fail: it is protected against writing.
void BlockWriting(const fs::path& file) {
  fs::permissions(file, fs::perms(0444));
}

TEST(SealFileNames, LocationAndListFilesInAnyCaseSortedByName) {
  TempDir dir;
  for (const char* name : {"room2.txt", "ROOM10.TXT", "Room.txt", "invent.txt", "ZADAN.txt",
                           "hints.TXT", "main.txt", "room1.txt.bak", "myroom1.txt"})
    WriteRaw(dir.path() / name, "x");
  fs::create_directories(dir.path() / "room3.txt");  // a folder is not a file
  EXPECT_EQ(SealFileNames(dir.path()),
            (std::vector<std::string>{"ROOM10.TXT", "Room.txt", "ZADAN.txt", "hints.TXT",
                                      "invent.txt", "room2.txt"}));
}

TEST(ShifrFile, TwoLineExampleWithBothKeys) {
  TempDir dir;
  fs::path file = dir.path() / "room1.txt";
  WriteRaw(file, "abcd\r\n\r\n");
  EXPECT_EQ(ShifrFile(file, CipherKind::Ordinary).outcome, SealOutcome::Encrypted);
  // 'a' = 97 + position 1 + key(0) = 0, ...; the empty second line is a lone "0" line.
  EXPECT_EQ(ReadRaw(file), kMarker + "98\r\n100\r\n102\r\n104\r\n\"0\"\r\n\"0\"\r\n");

  WriteRaw(file, "ab\r\nab");  // an unterminated last line is still a line
  ShifrFile(file, CipherKind::Strong);
  // Line 1 carries the strong key(1) = 3: 97 + 1 + 3, 98 + 2 + 3.
  EXPECT_EQ(ReadRaw(file),
            MarkerLine(CipherKind::Strong) + "\r\n98\r\n100\r\n\"0\"\r\n101\r\n103\r\n\"0\"\r\n");
}

TEST(SealRoundTrip, OrdinaryFolderComesBackWithCrLfLineEnds) {
  TempDir dir;
  std::string everyByte;  // 0x98, unassigned in the code page, included: bytes pass as they are
  for (int c = 0; c < 256; ++c)
    if (c != '\r' && c != '\n') everyByte += static_cast<char>(c);
  WriteRaw(dir.path() / "room1.txt", FromUtf8("РН Поляна\r\nОП\r\nТекст.\r\n\r\n"));
  WriteRaw(dir.path() / "room2.txt", FromUtf8("РН Мельница\nОП\nбез конца"));
  WriteRaw(dir.path() / "invent.txt", everyByte + "\r\n");
  WriteRaw(dir.path() / "hints.txt", "");
  WriteRaw(dir.path() / "zadan.txt", Encrypt({"strong"}, CipherKind::Strong));
  auto plain = Snapshot(dir.path());
  std::vector<std::string> names = SealFileNames(dir.path());

  EXPECT_FALSE(AnyFailed(EncryptFiles(dir.path(), names, CipherKind::Ordinary)));
  auto once = Snapshot(dir.path());
  EXPECT_EQ(once["hints.txt"], kMarker);
  EXPECT_EQ(once["zadan.txt"], plain["zadan.txt"]);
  // A second run, in either mode, finds every file scrambled and changes nothing.
  for (const SealResult& r : EncryptFiles(dir.path(), names, CipherKind::Strong))
    EXPECT_EQ(r.outcome, SealOutcome::AlreadyEncrypted);
  EXPECT_EQ(Snapshot(dir.path()), once);

  std::vector<SealResult> back = DecryptFiles(dir.path(), names);
  EXPECT_EQ(back.back().outcome, SealOutcome::NotDecrypted);  // zadan.txt: strong stays strong
  auto restored = Snapshot(dir.path());
  for (const auto& [name, bytes] : plain)
    EXPECT_EQ(restored[name], name == "zadan.txt" ? bytes : JoinCrLf(SplitLines(bytes))) << name;
  EXPECT_EQ(restored["room1.txt"], plain["room1.txt"]);
  EXPECT_FALSE(fs::exists(dir.path() / "temps.dat"));
  // Decrypting plain files leaves them alone too.
  for (const SealResult& r : DecryptFiles(dir.path(), names))
    EXPECT_EQ(r.outcome, SealOutcome::NotDecrypted);
}

TEST(DecryptFile, DamagedFilesAreReportedAndKept) {
  TempDir dir;
  fs::path file = dir.path() / "room1.txt";
  for (const std::string& bytes : {
           kMarker + "98\r\nx\r\n\"0\"\r\n",   // not a number
           kMarker + "0\r\n\"0\"\r\n",         // code -1
           kMarker + "400\r\n\"0\"\r\n",       // code 399
           kMarker + "98\r\n\"0\"\r\n99\r\n",  // cut off inside the last line
           kMarker + "98\r\n\"0\"\r\n\r\n",    // a stray empty line
       }) {
    WriteRaw(file, bytes);
    SealResult r = DecryptFile(file);
    EXPECT_EQ(r.problem, SealProblem::Damaged) << bytes;
    EXPECT_EQ(ReadRaw(file), bytes);
  }
}

TEST(SealFolders, AFailureMidFolderKeepsThatFileAndGoesOn) {
  TempDir dir;
  for (const char* name : {"room1.txt", "room2.txt", "room3.txt", "room4.txt"})
    WriteGameFile(dir.path() / name, std::string("текст ") + name + "\n");
  std::vector<std::string> names = SealFileNames(dir.path());
  auto plain = Snapshot(dir.path());
  BlockWriting(dir.path() / "room2.txt");
  fs::remove(dir.path() / "room3.txt");  // vanished after the listing

  std::vector<SealResult> results = EncryptFiles(dir.path(), names, CipherKind::Ordinary);
  ASSERT_EQ(results.size(), 4u);
  EXPECT_EQ(results[0].outcome, SealOutcome::Encrypted);
  EXPECT_EQ(results[1].problem, SealProblem::CannotWrite);
  EXPECT_EQ(results[2].problem, SealProblem::CannotRead);
  EXPECT_EQ(results[3].outcome, SealOutcome::Encrypted);
  EXPECT_TRUE(AnyFailed(results));
  EXPECT_EQ(ReadRaw(dir.path() / "room2.txt"), plain["room2.txt"]);

  WriteRaw(dir.path() / "room3.txt", Encrypt({"x"}, CipherKind::Ordinary));
  BlockWriting(dir.path() / "room3.txt");
  results = DecryptFiles(dir.path(), {"room3.txt", "room4.txt"});
  EXPECT_EQ(results[0].problem, SealProblem::CannotWrite);
  EXPECT_EQ(ReadRaw(dir.path() / "room3.txt"), Encrypt({"x"}, CipherKind::Ordinary));
  EXPECT_EQ(ReadRaw(dir.path() / "room4.txt"), plain["room4.txt"]);
}

}  // namespace
}  // namespace mireval::seal
