#include "sealtool/seal_files.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <map>

#include "engine/cipher.h"
#include "engine/lines.h"
#include "engine/text.h"
#include "support/test_game.h"

namespace fs = std::filesystem;

namespace mireval {
namespace {

const std::string kOrdinary = "\"ЗАШИФРОВАНО\"";
const std::string kStrong = "\"СИЛЬНО ЗАШИФРОВАНО\"";

// Makes writing `file` fail: the temporary file beside it cannot be created.
void BlockWriting(const fs::path& file) {
  fs::path tmp = file;
  tmp += ".part" + std::to_string(::getpid());
  fs::create_directories(tmp);
}

TEST(SealFileNames, LocationAndListFilesInAnyCaseSortedByName) {
  TempDir dir;
  for (const char* name :
       {"room2.txt", "ROOM10.TXT", "Room.txt", "invent.txt", "ZADAN.txt", "hints.TXT", "main.txt",
        "intro.txt", "room1.txt.bak", "myroom1.txt", "Invent.txt.part1", "rooms.dat"})
    WriteRaw(dir.path() / name, "x");
  fs::create_directories(dir.path() / "room3.txt");  // a folder is not a file
  EXPECT_EQ(SealFileNames(dir.path()),
            (std::vector<std::string>{"ROOM10.TXT", "Room.txt", "ZADAN.txt", "hints.TXT",
                                      "invent.txt", "room2.txt"}));
  EXPECT_FALSE(IsSealFileName("Комната.txt"));
  EXPECT_TRUE(SealFileNames(dir.path() / "missing").empty());
}

TEST(ShifrFile, TwoLineExampleWithBothKeys) {
  TempDir dir;
  fs::path file = dir.path() / "room1.txt";
  WriteRaw(file, "abcd\r\n\r\n");
  EXPECT_EQ(ShifrFile(file, CipherKind::Ordinary).outcome, SealOutcome::Encrypted);
  // 'a' = 97 + position 1 + key(0) = 0, ...; the empty second line is a lone "0" line.
  EXPECT_EQ(ReadRaw(file),
            FromUtf8(kOrdinary) + "\r\n98\r\n100\r\n102\r\n104\r\n\"0\"\r\n\"0\"\r\n");

  WriteRaw(file, "ab\r\nab");  // an unterminated last line is still a line
  EXPECT_EQ(ShifrFile(file, CipherKind::Strong).outcome, SealOutcome::Encrypted);
  // Line 1 carries the strong key(1) = 3: 97 + 1 + 3, 98 + 2 + 3.
  EXPECT_EQ(ReadRaw(file), FromUtf8(kStrong) + "\r\n98\r\n100\r\n\"0\"\r\n101\r\n103\r\n\"0\"\r\n");

  WriteRaw(file, "");
  EXPECT_EQ(ShifrFile(file, CipherKind::Ordinary).outcome, SealOutcome::Encrypted);
  EXPECT_EQ(ReadRaw(file), FromUtf8(kOrdinary) + "\r\n");
}

TEST(EncryptFile, FilesStartingWithAMarkerAreLeftAlone) {
  TempDir dir;
  fs::path file = dir.path() / "room1.txt";
  for (const std::string& marker : {kOrdinary, kStrong}) {
    std::string bytes = FromUtf8(marker) + "\n98\n";  // whatever follows, even LF line ends
    WriteRaw(file, bytes);
    EXPECT_EQ(EncryptFile(file, CipherKind::Ordinary).outcome, SealOutcome::AlreadyEncrypted);
    EXPECT_EQ(ReadRaw(file), bytes);
  }
  // Not quite a marker: a lower-case one or one with a trailing blank is text to scramble.
  WriteGameFile(file, "\"зашифровано\"\n");
  EXPECT_EQ(EncryptFile(file, CipherKind::Ordinary).outcome, SealOutcome::Encrypted);
}

TEST(SealRoundTrip, OrdinaryFolderComesBackWithCrLfLineEnds) {
  TempDir dir;
  std::string everyByte;
  for (int c = 1; c < 256; ++c)
    if (c != '\r' && c != '\n') everyByte += static_cast<char>(c);
  everyByte += '\0';
  const std::vector<std::pair<std::string, std::string>> files = {
      {"room1.txt", FromUtf8("РН Поляна\r\nОП\r\nТекст.\r\n\r\n")},
      {"room2.txt", FromUtf8("РН Мельница\nОП\nбез конца")},         // LF ends, no final line end
      {"invent.txt", everyByte + "\r\n" + "\xE6\x97\xA5" + "\r\n"},  // and UTF-8 bytes as they are
      {"hints.txt", ""},
  };
  for (const auto& [name, bytes] : files) WriteRaw(dir.path() / name, bytes);
  std::vector<std::string> names = SealFileNames(dir.path());

  EXPECT_FALSE(AnyFailed(EncryptFiles(dir.path(), names, CipherKind::Ordinary)));
  for (const auto& [name, bytes] : files)
    EXPECT_EQ(SplitLines(ReadRaw(dir.path() / name))[0], FromUtf8(kOrdinary)) << name;

  // A second run finds every file scrambled and changes nothing.
  std::map<std::string, std::string> once;
  for (const auto& [name, bytes] : files) once[name] = ReadRaw(dir.path() / name);
  for (const SealResult& r : EncryptFiles(dir.path(), names, CipherKind::Strong))
    EXPECT_EQ(r.outcome, SealOutcome::AlreadyEncrypted);
  for (const auto& [name, bytes] : files) EXPECT_EQ(ReadRaw(dir.path() / name), once[name]);

  for (const SealResult& r : DecryptFiles(dir.path(), names))
    EXPECT_EQ(r.outcome, SealOutcome::Decrypted);
  for (const auto& [name, bytes] : files)
    EXPECT_EQ(ReadRaw(dir.path() / name), JoinCrLf(SplitLines(bytes))) << name;
  EXPECT_EQ(ReadRaw(dir.path() / "room1.txt"), files[0].second);
  EXPECT_FALSE(fs::exists(dir.path() / "temps.dat"));
}

TEST(DecryptFile, OnlyOrdinarilyScrambledFilesAreTurnedBack) {
  TempDir dir;
  WriteRaw(dir.path() / "room1.txt", Encrypt({"one", "two"}, CipherKind::Strong));
  WriteGameFile(dir.path() / "room2.txt", "\"0\"\n98\n");  // plain text that looks like numbers
  WriteRaw(dir.path() / "room3.txt", "");
  std::map<std::string, std::string> before;
  for (const std::string& name : SealFileNames(dir.path()))
    before[name] = ReadRaw(dir.path() / name);
  for (const SealResult& r : DecryptFiles(dir.path(), SealFileNames(dir.path())))
    EXPECT_EQ(r.outcome, SealOutcome::NotDecrypted) << r.file;
  for (const auto& [name, bytes] : before) EXPECT_EQ(ReadRaw(dir.path() / name), bytes);
}

TEST(DecryptFile, DamagedFilesAreReportedAndKept) {
  TempDir dir;
  const std::string marker = FromUtf8(kOrdinary) + "\r\n";
  const std::vector<std::string> damaged = {
      marker + "98\r\nx\r\n\"0\"\r\n",   // not a number
      marker + "0\r\n\"0\"\r\n",         // code -1
      marker + "400\r\n\"0\"\r\n",       // code 399
      marker + "98\r\n\"0\"\r\n99\r\n",  // cut off inside the last line
      marker + "98\r\n\"0\"\r\n\r\n",    // a stray empty line
  };
  for (const std::string& bytes : damaged) {
    fs::path file = dir.path() / "room1.txt";
    WriteRaw(file, bytes);
    SealResult r = DecryptFile(file);
    EXPECT_EQ(r.outcome, SealOutcome::Failed);
    EXPECT_EQ(r.problem, SealProblem::Damaged);
    EXPECT_EQ(ReadRaw(file), bytes);
  }
  // The marker alone is the scrambled form of an empty file.
  WriteRaw(dir.path() / "room2.txt", marker);
  EXPECT_EQ(DecryptFile(dir.path() / "room2.txt").outcome, SealOutcome::Decrypted);
  EXPECT_EQ(ReadRaw(dir.path() / "room2.txt"), "");
}

TEST(SealFolders, AFailureMidFolderKeepsThatFileAndGoesOn) {
  TempDir dir;
  for (const char* name : {"room1.txt", "room2.txt", "room3.txt", "room4.txt"})
    WriteGameFile(dir.path() / name, std::string("текст ") + name + "\n");
  std::vector<std::string> names = SealFileNames(dir.path());
  std::string plain2 = ReadRaw(dir.path() / "room2.txt");
  BlockWriting(dir.path() / "room2.txt");
  fs::remove(dir.path() / "room3.txt");  // vanished after the listing

  std::vector<SealResult> results = EncryptFiles(dir.path(), names, CipherKind::Ordinary);
  ASSERT_EQ(results.size(), 4u);
  EXPECT_EQ(results[0].outcome, SealOutcome::Encrypted);
  EXPECT_EQ(results[1].problem, SealProblem::CannotWrite);
  EXPECT_EQ(results[2].problem, SealProblem::CannotRead);
  EXPECT_EQ(results[3].outcome, SealOutcome::Encrypted);
  EXPECT_TRUE(AnyFailed(results));
  EXPECT_EQ(ReadRaw(dir.path() / "room2.txt"), plain2);
  EXPECT_EQ(SplitLines(ReadRaw(dir.path() / "room4.txt"))[0], FromUtf8(kOrdinary));

  // Decryption: the same, and the blocked file stays scrambled-or-plain as it was.
  WriteRaw(dir.path() / "room3.txt", Encrypt({"x"}, CipherKind::Ordinary));
  BlockWriting(dir.path() / "room3.txt");
  results = DecryptFiles(dir.path(), {"room1.txt", "room3.txt", "room4.txt"});
  EXPECT_EQ(results[0].outcome, SealOutcome::Decrypted);
  EXPECT_EQ(results[1].problem, SealProblem::CannotWrite);
  EXPECT_EQ(results[2].outcome, SealOutcome::Decrypted);
  EXPECT_EQ(ReadRaw(dir.path() / "room3.txt"), Encrypt({"x"}, CipherKind::Ordinary));
  EXPECT_EQ(ReadRaw(dir.path() / "room4.txt"), FromUtf8("текст room4.txt\r\n"));
}

}  // namespace
}  // namespace mireval
