// Score-variable lines as strings: what they evaluate to under a given state, and how a faulty one
// is reported. Every row runs through the whole score pass over a location file, so the table
// holds what the program does, not what the line reader was meant to do.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "base/text.h"
#include "interpreter/score.h"
#include "support/test_game.h"

namespace mireval {
namespace {

// A line under a state: the conditions set, the good and the evil points, the value it gives
// condition 50 (every line here defines 50; terms read 1 to 9).
struct ValueRow {
  const char* line;
  std::initializer_list<int> set;
  int good, evil;
  bool expected;
};

const ValueRow kValueRows[] = {
    // sums of True and False conditions against the lower threshold
    {"ПС 50 = 3 + 4 > 1", {3, 4}, 0, 0, true},
    {"ПС 50 = 3 + 4 > 1", {3}, 0, 0, false},
    {"ПС 50 = 3 + 4", {}, 0, 0, true},  // no threshold: always True
    {"ПС 50 = -2 - 3 > 1", {}, 0, 0, true},
    {"ПС 50 = -2 - 3 > 1", {2}, 0, 0, false},
    {"ПС 50 = 1 - 0 > 1", {1}, 0, 0, true},  // "-0" counts a False condition 0 like any other
    {"ПС 50 = 1 - 0 > 1", {0, 1}, 0, 0, false},
    {"ПС 50 = 0003 < 1", {3}, 0, 0, false},     // leading zeros read as the number
    {"ПС 50 = 3 + 0 < 2", {0, 3}, 0, 0, true},  // "+0" adds nothing
    {"ПС 50 = 0 < 1", {0}, 0, 0, true},         // nor does a leading "0"
    {"ПС 50 = 1 + 2 > 1", {1, 2}, 0, 0, true},
    // the upper threshold, thresholds given twice, negative thresholds never constrain
    {"ПС 50 = 1 + 2 < 2", {1}, 0, 0, true},
    {"ПС 50 = 1 + 2 < 2", {1, 2}, 0, 0, false},
    {"ПС 50 = 1 > 5 > 0", {1}, 0, 0, true},
    {"ПС 50 = 1 < 1 < 5", {1}, 0, 0, true},
    {"ПС 50 = 1 > -5", {}, 0, 0, true},
    {"ПС 50 = 1 <-1", {1}, 0, 0, true},
    {"ПС 50 = 1 + 2 > 1 < 3", {1, 2}, 0, 0, true},
    {"ПС 50 = 1 + 2 > 0 < 2", {1, 2}, 0, 0, false},
    // the points: a leading letter does nothing, "+" and "-" add and subtract them
    {"ПС 50 = С - Т < 0", {}, 5, 2, true},
    {"ПС 50 = С < 1", {}, 5, 2, true},
    {"ПС 50 = + С - Т > 2", {}, 5, 2, true},
    {"ПС 50 = + С - Т > 2", {}, 5, 3, false},
    {"ПС 50 = + Т - С < 0", {}, 5, 3, true},
    {"ПС 50 = - С + Т > 1", {}, 3, 5, true},
    {"ПС 50 = + с < 1", {}, 5, 0, true},    // lower case is no letter: nothing is added
    {"ПС 50 = + С3 < 1", {3}, 5, 0, true},  // a letter with digits after it names nothing
    // blanks anywhere, other characters skipped without ending a term, the last "=" wins
    {"ПС 5 0 = 1 2 < 1", {12}, 0, 0, false},
    {"пс 50=1x2<1", {12}, 0, 0, false},
    {"пс50=1", {}, 0, 0, false},  // no blank after the prefix: no score line
    {"ПС 50 = 1 x 2 < 1", {1, 2}, 0, 0, true},
    {"ПС 50 = 1 ++ 2 > 1", {1, 2}, 0, 0, true},  // an empty term stands for nothing
};

// A faulty line: the report quotes it as the reader left it, with the last number taken.
struct FaultRow {
  const char* line;
  const char* quoted;
  long condition;
};

const FaultRow kFaultRows[] = {
    {"ПС = 3", "ПС=3", 0},
    {"ПС 0 = 3", "ПС0=3", 0},
    {"ПС x = 3", "ПСx=3", 0},
    {"ПС 50", "ПС50", 0},
    {"ПС 40000 = 3", "ПС40000=3", 0},
    {"ПС 50 = 1 = 6", "ПС50=1=6", 50},  // "50=1" is no number
    {"ПС 50 = 32768", "ПС50=+32768+", 50},
    {"ПС 50 = 3 > 99999", "ПС50=+3>99999+", 50},
    {"ПС 50 = 3 < -40000", "ПС50=+3<-40000+", 50},
    {"ПС 50 = - 32768", "ПС50=-32768+", 50},
    // faults of the state: out of range conditions, points that are no number
    {"ПС 20000 = 3", "ПС20000=+3+", 20000},
    {"ПС 50 = 10001", "ПС50=+10001+", 50},
    {"ПС 50 = - С3", "ПС50=-С3+", 50},  // reads as condition -13
    {"ПС 50 = + Т", "ПС50=+Т+", 50},    // the evil points are text here
};

class ScoreLineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    t.UseGameDir();
    t.p.Room = 1;
    t.Game("room0.txt", "РН общие\n");
  }
  void State(std::initializer_list<int> set, int good, int evil) {
    for (int c = 0; c <= 20; ++c) t.Set(c, false);
    for (int c : set) t.Set(c);
    t.Set(50, false);
    t.p.Harakter[1] = good;
    t.p.Harakter[2] = evil;
  }
  // Condition 50 after a score pass over a location holding only `line`.
  bool ThroughThePass(const char* line) {
    t.Game("room1.txt", std::string("РН x\n") + line + "\n");
    PodschetPS(t.p);
    return t.p.Uslovie.Get(50);
  }
  TestPlayer t;
};

TEST_F(ScoreLineTest, ValuesThroughTheScorePass) {
  for (const ValueRow& row : kValueRows) {
    State(row.set, row.good, row.evil);
    EXPECT_EQ(ThroughThePass(row.line), row.expected) << row.line;
  }
}

TEST_F(ScoreLineTest, FaultsThroughTheScorePassEndTheProgramQuotingTheLine) {
  for (const FaultRow& row : kFaultRows) {
    State({3}, 0, 0);
    t.p.Harakter[2] = "много"_cp;
    t.platform.messages.clear();
    EXPECT_EQ(ExpectEnd([&] { ThroughThePass(row.line); }), kExitAfterError) << row.line;
    ASSERT_EQ(t.platform.messages.size(), 1u) << row.line;
    EXPECT_EQ(t.platform.messages[0], std::string("Ошибка в строке ") + row.quoted +
                                          " комнаты №1 при подсчете переменной счета №" +
                                          std::to_string(row.condition));
  }
}

}  // namespace
}  // namespace mireval
