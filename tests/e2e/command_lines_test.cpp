// Every program keeps the conventions of the command line: --help answers with the usage and an
// example on standard output, --version with the name and the build's version, both with status
// 0; an unknown option gets the usage on standard error and status 2. Neither answer needs a
// display, a program folder or a game.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/temp_files.h"

namespace mireval {
namespace {

std::vector<std::string> Programs() {
  std::vector<std::string> all = {MIRTERM_PATH, MIRCHECK_PATH};
#ifdef MIRPLAY_PATH
  all.push_back(MIRPLAY_PATH);
#endif
#ifdef MIRSEAL_PATH
  all.push_back(MIRSEAL_PATH);
#endif
  return all;
}

std::string NameOf(const std::string& path) {
  return path.substr(path.rfind('/') + 1);
}

TEST(CommandLines, HelpVersionAndUnknownOptions) {
  TempDir dir;  // a folder with nothing in it: no start.txt, no game
  ChildOptions o;
  o.cwd = dir.path();
  o.unsetEnv = {"DISPLAY", "WAYLAND_DISPLAY"};
  o.env = {{"QT_QPA_PLATFORM", "offscreen"}};
  for (const std::string& program : Programs()) {
    const std::string name = NameOf(program);
    SCOPED_TRACE(name);

    const ChildRun help = RunChild({program, "--help"}, o, 30);
    EXPECT_EQ(help.status, 0) << help.err;
    EXPECT_EQ(help.out.rfind("Usage: " + name, 0), 0u) << help.out;
    EXPECT_NE(help.out.find("Example: " + name), std::string::npos) << help.out;
    EXPECT_EQ(help.err, "");

    const ChildRun version = RunChild({program, "--version"}, o, 30);
    EXPECT_EQ(version.status, 0) << version.err;
    EXPECT_EQ(version.out, name + " " + MIREVAL_VERSION + "\n");

    const ChildRun unknown = RunChild({program, "--no-such-option"}, o, 30);
    EXPECT_EQ(unknown.status, 2) << unknown.err;
    EXPECT_EQ(unknown.out, "");
    EXPECT_NE(unknown.err.find(name + ": unknown option --no-such-option"), std::string::npos)
        << unknown.err;
    EXPECT_NE(unknown.err.find("Usage: " + name), std::string::npos) << unknown.err;
  }
}

}  // namespace
}  // namespace mireval
