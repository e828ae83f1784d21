#include "platform/program_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/test_game.h"

namespace fs = std::filesystem;

namespace mireval {
namespace {

// An installed tree: <prefix>/bin and <prefix>/share/mireval with the program files and a game.
struct Installed {
  Installed() {
    fs::create_directories(prefix() / "bin");
    WriteGameFile(share() / "obloz.txt", "Обложка\n");
    WriteGameFile(share() / "start.txt", "games/demo\n");
    WriteGameFile(share() / "games" / "demo" / "main.txt", "Текстовый квест\nДемо\n1\n");
  }
  fs::path prefix() const { return root.path() / "usr"; }
  fs::path share() const { return prefix() / "share" / "mireval"; }
  fs::path user() const { return root.path() / "home" / ".local" / "share" / "mireval"; }
  TempDir root;
};

TEST(ProgramFolder, OnlyAnExecutableBesideTheInstalledFilesCountsAsInstalled) {
  Installed i;
  EXPECT_EQ(InstalledShareFolder(i.prefix() / "bin" / "mirplay"), i.share());
  // A build tree, or a bin folder whose share holds no program files.
  EXPECT_FALSE(InstalledShareFolder(i.root.path() / "build" / "mirplay"));
  fs::remove(i.share() / "obloz.txt");
  EXPECT_FALSE(InstalledShareFolder(i.prefix() / "bin" / "mirplay"));
}

TEST(ProgramFolder, TheUsersFolderFollowsXdgDataHomeThenHome) {
  EXPECT_EQ(UserProgramFolder("/x/data", "/home/u"), fs::path("/x/data/mireval"));
  EXPECT_EQ(UserProgramFolder(nullptr, "/home/u"), fs::path("/home/u/.local/share/mireval"));
  // An empty or relative XDG_DATA_HOME is not a place to write to.
  EXPECT_EQ(UserProgramFolder("", "/home/u"), fs::path("/home/u/.local/share/mireval"));
  EXPECT_EQ(UserProgramFolder("data", "/home/u"), fs::path("/home/u/.local/share/mireval"));
  EXPECT_FALSE(UserProgramFolder(nullptr, nullptr));
  EXPECT_FALSE(UserProgramFolder("data", "home"));
}

TEST(ProgramFolder, FirstStartCopiesEverythingAndLaterStartsKeepTheUsersChanges) {
  Installed i;
  std::string problem;
  ASSERT_TRUE(EnsureUserProgramFolder(i.share(), i.user(), problem)) << problem;
  EXPECT_EQ(ReadRaw(i.user() / "start.txt"), ReadRaw(i.share() / "start.txt"));
  EXPECT_EQ(ReadRaw(i.user() / "games" / "demo" / "main.txt"),
            ReadRaw(i.share() / "games" / "demo" / "main.txt"));
  // Nothing is left under the temporary name.
  for (const auto& entry : fs::directory_iterator(i.user().parent_path()))
    EXPECT_EQ(entry.path().filename(), "mireval");

  // The player removed the autostart and saved a game; neither is undone.
  fs::remove(i.user() / "start.txt");
  WriteRaw(i.user() / "games" / "demo" / "a.sav", "x");
  ASSERT_TRUE(EnsureUserProgramFolder(i.share(), i.user(), problem));
  EXPECT_FALSE(fs::exists(i.user() / "start.txt"));
  EXPECT_TRUE(fs::exists(i.user() / "games" / "demo" / "a.sav"));
}

TEST(ProgramFolder, APlaceThatCannotHoldTheFolderIsReportedAndLeftAlone) {
  Installed i;
  WriteRaw(i.user(), "a file where the folder should be");
  std::string problem;
  EXPECT_FALSE(EnsureUserProgramFolder(i.share(), i.user(), problem));
  EXPECT_NE(problem.find("not a folder"), std::string::npos);
  EXPECT_EQ(ReadRaw(i.user()), "a file where the folder should be");

  // Installed files that cannot be read: no half-made folder either.
  fs::path other = i.root.path() / "other" / "mireval";
  problem.clear();
  EXPECT_FALSE(EnsureUserProgramFolder(i.root.path() / "missing", other, problem));
  EXPECT_FALSE(problem.empty());
  EXPECT_FALSE(fs::exists(other));
  EXPECT_TRUE(fs::is_empty(other.parent_path()));
}

// Changes the process's working folder and environment; both are put back afterwards.
class UseProgramFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    before_ = fs::current_path();
    if (const char* v = std::getenv("HOME")) home_ = v;
    if (const char* v = std::getenv("XDG_DATA_HOME")) xdg_ = v;
    fs::current_path(i.root.path());
    setenv("HOME", (i.root.path() / "home").c_str(), 1);
    unsetenv("XDG_DATA_HOME");
  }
  void TearDown() override {
    fs::current_path(before_);
    Restore("HOME", home_);
    Restore("XDG_DATA_HOME", xdg_);
  }
  static void Restore(const char* name, const std::optional<std::string>& value) {
    if (value)
      setenv(name, value->c_str(), 1);
    else
      unsetenv(name);
  }
  Installed i;

 private:
  fs::path before_;
  std::optional<std::string> home_, xdg_;
};

TEST_F(UseProgramFolderTest, AnInstalledProgramWorksInTheUsersFolder) {
  ProgramFolderChoice c = UseProgramFolder(i.prefix() / "bin" / "mirplay");
  EXPECT_TRUE(c.installed);
  EXPECT_EQ(c.problem, "");
  EXPECT_EQ(c.folder, i.user());
  EXPECT_EQ(fs::current_path(), fs::canonical(i.user()));
  EXPECT_TRUE(fs::exists("obloz.txt"));
}

TEST_F(UseProgramFolderTest, ABuildTreeRunKeepsItsFolder) {
  ProgramFolderChoice c = UseProgramFolder(i.root.path() / "build" / "mirplay");
  EXPECT_FALSE(c.installed);
  EXPECT_EQ(fs::current_path(), fs::canonical(i.root.path()));
  EXPECT_FALSE(fs::exists(i.user()));
}

TEST_F(UseProgramFolderTest, WithoutAHomeTheCurrentFolderIsKeptAndTheReasonGiven) {
  unsetenv("HOME");
  ProgramFolderChoice c = UseProgramFolder(i.prefix() / "bin" / "mirseal");
  EXPECT_TRUE(c.installed);
  EXPECT_NE(c.problem, "");
  EXPECT_EQ(fs::current_path(), fs::canonical(i.root.path()));
}

}  // namespace
}  // namespace mireval
