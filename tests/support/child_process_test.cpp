#include "support/child_process.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <thread>

#include "support/temp_files.h"

namespace mireval {
namespace {

TEST(RunChild, ArgumentsReachTheProgramUnquotedAndItsOutputIsCaptured) {
  const ChildRun run = RunChild({"/bin/sh", "-c", "printf '%s|' \"$@\"; echo oops >&2; exit 4",
                                 "sh", "it's", "a b", "$HOME", "*"});
  EXPECT_TRUE(run.started);
  EXPECT_EQ(run.status, 4);
  EXPECT_EQ(run.signal, 0);
  EXPECT_EQ(run.out, "it's|a b|$HOME|*|");
  EXPECT_EQ(run.err, "oops\n");
}

TEST(RunChild, FolderEnvironmentInputAndStackAreTheChildsOwn) {
  TempDir dir;
  ::setenv("MIREVAL_CHILD_GONE", "x", 1);
  const ChildRun run = RunChild(
      {"/bin/sh", "-c",
       "pwd; echo \"$MIREVAL_CHILD_ADDED${MIREVAL_CHILD_GONE-unset}\"; ulimit -s; cat; ls >&2"},
      {.cwd = dir.path(),
       .env = {{"MIREVAL_CHILD_ADDED", "added "}},
       .unsetEnv = {"MIREVAL_CHILD_GONE"},
       .input = "typed\n",
       .errToOut = true,
       .stackKb = 1024});
  ::unsetenv("MIREVAL_CHILD_GONE");
  // Nothing of the helper's own (the file the input came from) is left in the working folder.
  EXPECT_EQ(run.out, dir.path().string() + "\nadded unset\n1024\ntyped\n");
  EXPECT_EQ(RunChild({"/bin/cat"}).out, "");  // no input: /dev/null, not this process's
}

TEST(RunChild, AChildPastItsTimeIsKilledWithWhatItStarted) {
  TempDir dir;
  const auto start = std::chrono::steady_clock::now();
  const ChildRun run = RunChild({"/bin/sh", "-c", "(sleep 1; echo late > grandchild) & sleep 30"},
                                {.cwd = dir.path()}, 0.3);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));  // not 30
  EXPECT_TRUE(run.timedOut);
  EXPECT_EQ(run.status, -1);
  EXPECT_EQ(run.signal, SIGKILL);
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "grandchild"));
}

TEST(RunChild, ASignalAndAMissingProgramAreToldApart) {
  const ChildRun killed = RunChild({"/bin/sh", "-c", "kill -SEGV $$"});
  EXPECT_EQ(killed.status, -1);
  EXPECT_EQ(killed.signal, SIGSEGV);
  EXPECT_FALSE(killed.timedOut);
  EXPECT_FALSE(RunChild({"/no/such/program"}).started);
  EXPECT_FALSE(RunChild({"no-such-program-on-path"}).started);
  EXPECT_FALSE(RunChild({"/bin/true"}, {.cwd = "/no/such/folder"}).started);
  EXPECT_TRUE(HaveProgram("sh"));
  EXPECT_FALSE(HaveProgram("no-such-program-on-path"));
}

}  // namespace
}  // namespace mireval
