#include "base/atomic_file.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstring>
#include <set>

#include "base/files.h"
#include "base/text.h"
#include "support/test_game.h"

namespace fs = std::filesystem;

namespace mireval {
namespace {

std::set<std::string> Names(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
  return names;
}

unsigned Mode(const fs::path& file) {
  struct stat st {};
  EXPECT_EQ(::stat(file.c_str(), &st), 0) << file;
  return st.st_mode & 07777;
}

std::error_code Write(const fs::path& file, std::string_view bytes) {
  std::error_code ec;
  const bool written = WriteFileAtomically(file, bytes, ec);
  EXPECT_EQ(written, !ec);
  return ec;
}

TEST(AtomicFile, ALinkPlantedUnderATemporaryNameIsNeverWrittenThrough) {
  TempDir dir;
  fs::path save = dir.path() / "game.sav";
  fs::path victim = dir.path() / "victim.txt";
  WriteRaw(save, "old");
  WriteRaw(victim, "victim");
  // The names a writer could predict: the target's name with a suffix, with or without the
  // process number.
  for (const std::string& suffix :
       {".part" + std::to_string(::getpid()), std::string(".part"), std::string(".tmp")})
    fs::create_symlink(victim, save.string() + suffix);
  std::set<std::string> before = Names(dir.path());

  EXPECT_FALSE(Write(save, "new save"));
  EXPECT_EQ(ReadRaw(save), "new save");
  EXPECT_EQ(ReadRaw(victim), "victim");
  EXPECT_EQ(Names(dir.path()), before);  // no temporary file left behind
  // The two-argument form used by the engine forwards to the same writer.
  EXPECT_TRUE(WriteFileAtomically(save, "again"));
  EXPECT_EQ(ReadRaw(victim), "victim");
}

TEST(AtomicFile, NamesUpToTheLongestASystemAllowsAreWritten) {
  TempDir dir;
  for (std::size_t length : {243u, 247u, 251u, 255u}) {
    fs::path file = dir.path() / (std::string(length - 4, 'x') + ".sav");
    EXPECT_FALSE(Write(file, "a")) << length;
    EXPECT_FALSE(Write(file, "b")) << length;  // replacing it too
    EXPECT_EQ(ReadRaw(file), "b") << length;
  }
  EXPECT_EQ(Names(dir.path()).size(), 4u);
}

TEST(AtomicFile, ModeKeptReadOnlyRefusedLinksStayLinks) {
  TempDir dir;
  fs::path draft = dir.path() / "draft.txt";
  WriteRaw(draft, "draft");
  fs::permissions(draft, fs::perms(0600));
  EXPECT_FALSE(Write(draft, "rewritten"));
  EXPECT_EQ(Mode(draft), 0600u);
  fs::permissions(draft, fs::perms(0640));
  EXPECT_FALSE(Write(draft, "again"));
  EXPECT_EQ(Mode(draft), 0640u);

  // A new file gets the mode any new file gets.
  const mode_t mask = ::umask(022);
  EXPECT_FALSE(Write(dir.path() / "new.txt", "x"));
  EXPECT_EQ(Mode(dir.path() / "new.txt"), 0644u);
  ::umask(mask);

  // No write permission for the owner: left as it is, even for a process that could write it.
  fs::path locked = dir.path() / "locked.txt";
  WriteRaw(locked, "locked");
  fs::permissions(locked, fs::perms(0444));
  std::error_code ec = Write(locked, "overwritten");
  EXPECT_EQ(ec, ReplaceError::ReadOnlyTarget);
  EXPECT_EQ(ec, std::errc::permission_denied);
  EXPECT_EQ(ReadRaw(locked), "locked");
  EXPECT_EQ(Mode(locked), 0444u);

  // A link is written at its file, beside which the temporary file goes; the link stays.
  fs::create_directories(dir.path() / "real");
  fs::create_directories(dir.path() / "links");
  fs::path real = dir.path() / "real" / "room1.txt";
  fs::path link = dir.path() / "links" / "room1.txt";
  WriteRaw(real, "real");
  fs::permissions(real, fs::perms(0600));
  fs::create_symlink("../real/room1.txt", link);
  AtomicFileWriter out(link);
  EXPECT_EQ(out.file(), fs::canonical(real));
  out.Write("through the link");
  EXPECT_EQ(Names(dir.path() / "links"), std::set<std::string>{"room1.txt"});
  EXPECT_EQ(Names(dir.path() / "real").size(), 2u);  // the file and the temporary one
  EXPECT_FALSE(out.Commit());
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(fs::read_symlink(link), fs::path("../real/room1.txt"));
  EXPECT_EQ(ReadRaw(real), "through the link");
  EXPECT_EQ(Mode(real), 0600u);
  EXPECT_EQ(Names(dir.path() / "real"), std::set<std::string>{"room1.txt"});

  // A link to a file that does not exist yet creates it there.
  fs::create_symlink("../real/later.txt", dir.path() / "links" / "later.txt");
  EXPECT_FALSE(Write(dir.path() / "links" / "later.txt", "later"));
  EXPECT_EQ(ReadRaw(dir.path() / "real" / "later.txt"), "later");
  EXPECT_TRUE(fs::is_symlink(dir.path() / "links" / "later.txt"));
}

TEST(AtomicFile, StreamsCommitsOnlyWhenToldAndSaysWhyItFailed) {
  TempDir dir;
  fs::path file = dir.path() / "room1.txt";
  WriteRaw(file, "old");
  {
    AtomicFileWriter out(file);
    ASSERT_FALSE(out.error());
    for (int i = 0; i < 1000; ++i) EXPECT_TRUE(out.Write("line\r\n"));
    EXPECT_EQ(ReadRaw(file), "old");  // nothing shows before the commit
  }                                   // dropped without a commit
  EXPECT_EQ(ReadRaw(file), "old");
  EXPECT_EQ(Names(dir.path()), std::set<std::string>{"room1.txt"});

  {
    AtomicFileWriter out(file);
    for (int i = 0; i < 1000; ++i) out.Write("line\r\n");
    EXPECT_FALSE(out.Commit());
  }
  EXPECT_EQ(fs::file_size(file), 6000u);

  // A write that fails half-way: the reason comes back, the old file and nothing else stays.
  std::error_code ec;
  {
    FileSizeLimit limit(4096);
    ec = Write(file, std::string(10000, 'x'));
  }
  EXPECT_EQ(ec, std::errc::file_too_large);
  EXPECT_EQ(fs::file_size(file), 6000u);
  EXPECT_EQ(Names(dir.path()), std::set<std::string>{"room1.txt"});

  EXPECT_EQ(Write(dir.path() / "missing" / "x.txt", "x"), std::errc::no_such_file_or_directory);
  fs::create_directories(dir.path() / "folder.sav");
  EXPECT_EQ(Write(dir.path() / "folder.sav", "x"), std::errc::is_a_directory);
}

TEST(AtomicFile, StaleTemporaryFilesOfOurPatternAloneAreRemoved) {
  TempDir dir;
  fs::path outside = dir.path() / "outside.txt";
  WriteRaw(outside, "keep");
  fs::create_directories(dir.path() / "game");
  auto make = [&](const std::string& name, bool old) {
    fs::path p = dir.path() / "game" / name;
    if (!fs::exists(fs::symlink_status(p))) WriteRaw(p, "x");
    if (old) {
      const timespec times[2] = {{0, UTIME_OMIT}, {std::time(nullptr) - 2 * 24 * 3600, 0}};
      ::utimensat(AT_FDCWD, p.c_str(), times, AT_SYMLINK_NOFOLLOW);
    }
  };
  make(".mvAbCd1234", true);   // ours, two days old: removed
  make(".mvEfGh5678", false);  // ours, fresh (another run may be writing it): kept
  make(".mvAbCd123", true);    // one letter short: not ours
  make(".mvAbCd12345", true);  // one letter too many
  make(".mvAbCd-234", true);   // not a letter or digit
  make("x.part1234", true);    // another program's pattern
  fs::create_directories(dir.path() / "game" / ".mvFOLDER00");
  make(".mvFOLDER00", true);
  fs::create_symlink(outside, dir.path() / "game" / ".mvLINK0000");
  make(".mvLINK0000", true);
  std::set<std::string> expected = Names(dir.path() / "game");
  expected.erase(".mvAbCd1234");
  expected.insert("save.sav");

  EXPECT_FALSE(Write(dir.path() / "game" / "save.sav", "x"));
  EXPECT_EQ(Names(dir.path() / "game"), expected);
  EXPECT_EQ(ReadRaw(outside), "keep");
  EXPECT_TRUE(fs::is_directory(dir.path() / "game" / ".mvFOLDER00"));
}

TEST(AtomicFile, FailureReasonsInWords) {
  auto text = [](const std::error_code& ec) { return ToUtf8(WriteFailureText(ec)); };
  const std::string space = "Недостаточно места на диске.";
  const std::string permission = "Нет прав на запись.";
  EXPECT_EQ(text(std::error_code(ENOSPC, std::system_category())), space);
  EXPECT_EQ(text(std::error_code(EDQUOT, std::system_category())), space);
  for (int e : {EACCES, EPERM, EROFS})
    EXPECT_EQ(text(std::error_code(e, std::system_category())), permission) << e;
  EXPECT_EQ(text(ReplaceError::ReadOnlyTarget), "Нет прав на запись: файл защищён от записи.");
  EXPECT_EQ(text(std::error_code(EIO, std::system_category())),
            "Ошибка записи: " + std::string(std::strerror(EIO)));
}

}  // namespace
}  // namespace mireval
