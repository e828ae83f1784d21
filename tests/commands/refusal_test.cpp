#include "commands/refusal.h"

#include <gtest/gtest.h>

#include <map>

#include "engine/text.h"
#include "support/test_game.h"

namespace mireval {
namespace {

// The sentence index a fresh generator gives for its k-th draw.
std::vector<std::size_t> FirstDraws(int k) {
  Random r;
  std::vector<std::size_t> out;
  for (int i = 0; i < k; ++i) out.push_back(static_cast<std::size_t>(10 * r.Next()));
  return out;
}

TEST(Refusal, EchoesTheCommandAndOneSentence) {
  TestPlayer t;
  t.p.T.SetText("before");
  t.p.KomStroka = FromUtf8(" прыгнуть ");
  KomandOtkaz(t.p);
  const std::string sentence = kRefusalsUtf8[FirstDraws(1)[0]];
  EXPECT_EQ(t.Story(), "before\r\n>  прыгнуть \r\n" + sentence + "\r\n");
  EXPECT_EQ(ToUtf8(t.p.Stroka), sentence);
  EXPECT_EQ(t.p.T.caret, t.p.T.text.size());
}

TEST(Refusal, TheFirstRefusalsOfARunAreAlwaysTheSame) {
  std::vector<std::string> runs[2];
  for (auto& run : runs) {
    TestPlayer t;
    t.p.KomStroka = " x ";
    for (int i = 0; i < 5; ++i) {
      KomandOtkaz(t.p);
      run.push_back(ToUtf8(t.p.Stroka));
    }
  }
  EXPECT_EQ(runs[0], runs[1]);
  std::vector<std::string> expected;
  for (std::size_t n : FirstDraws(5)) expected.push_back(kRefusalsUtf8[n]);
  EXPECT_EQ(runs[0], expected);
}

TEST(Refusal, AllTenSentencesAreDrawnEvenly) {
  TestPlayer t;
  t.p.KomStroka = " x ";
  std::map<std::string, int> seen;
  constexpr int kDraws = 20000;
  for (int i = 0; i < kDraws; ++i) {
    t.p.T.SetText("");
    KomandOtkaz(t.p);
    ++seen[ToUtf8(t.p.Stroka)];
  }
  ASSERT_EQ(seen.size(), 10u);
  for (const char* s : kRefusalsUtf8) {
    EXPECT_GT(seen[s], kDraws / 10 * 8 / 10) << s;
    EXPECT_LT(seen[s], kDraws / 10 * 12 / 10) << s;
  }
}

TEST(Refusal, AnAutomaticTurnDrawsButWritesNothing) {
  for (const char* command : {" ДИАЛ АВТО ", "ДИАЛ АВТО"}) {
    TestPlayer t;
    t.p.T.SetText("before");
    t.p.KomStroka = FromUtf8(command);
    const auto state = t.p.rng.State();
    KomandOtkaz(t.p);
    EXPECT_EQ(t.Story(), "before");
    EXPECT_NE(t.p.rng.State(), state);
    EXPECT_EQ(ToUtf8(t.p.Stroka), kRefusalsUtf8[FirstDraws(1)[0]]);
  }
}

}  // namespace
}  // namespace mireval
