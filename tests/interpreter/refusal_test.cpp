#include "interpreter/refusal.h"

#include <gtest/gtest.h>

#include <map>

#include "base/text.h"
#include "support/test_game.h"

namespace mireval {
namespace {

// The sentences a fresh generator picks for its first draws.
std::vector<std::string> FirstSentences(int n) {
  Random r;
  std::vector<std::string> out;
  for (int i = 0; i < n; ++i) out.push_back(kRefusalsUtf8[static_cast<std::size_t>(10 * r.Next())]);
  return out;
}

TEST(Refusal, EchoesTheCommandAndDrawsTheSameFirstSentencesEveryRun) {
  TestPlayer t;
  t.p.story.SetText("before");
  t.p.commandLine = FromUtf8(" прыгнуть ");
  std::vector<std::string> drawn;
  for (int i = 0; i < 4; ++i) {
    RefuseCommand(t.p);
    drawn.push_back(ToUtf8(t.p.line));
  }
  EXPECT_EQ(drawn, FirstSentences(4));
  EXPECT_EQ(
      t.Story().substr(0, t.Story().find(drawn[1]) + drawn[1].size() + 2),
      "before\r\n>  прыгнуть \r\n" + drawn[0] + "\r\n\r\n>  прыгнуть \r\n" + drawn[1] + "\r\n");
}

TEST(Refusal, AllTenSentencesAreDrawnEvenly) {
  TestPlayer t;
  t.p.commandLine = " x ";
  std::map<std::string, int> seen;
  for (int i = 0; i < 20000; ++i) {
    t.p.story.SetText("");
    RefuseCommand(t.p);
    ++seen[ToUtf8(t.p.line)];
  }
  ASSERT_EQ(seen.size(), 10u);
  for (const auto& [sentence, count] : seen) EXPECT_NEAR(count, 2000, 200) << sentence;
}

TEST(Refusal, AnAutomaticTurnDrawsButWritesNothing) {
  for (const char* command : {" ДИАЛ АВТО ", "ДИАЛ АВТО"}) {
    TestPlayer t;
    t.p.commandLine = FromUtf8(command);
    RefuseCommand(t.p);
    EXPECT_EQ(t.Story(), "");
    EXPECT_EQ(ToUtf8(t.p.line), FirstSentences(1)[0]);
  }
}

}  // namespace
}  // namespace mireval
