// Score-variable lines as strings: what they say, what they evaluate to under a given state, and
// how a faulty one is reported. The value and fault rows run both through the whole score pass
// over a location file and through the line reader alone, so the two cannot drift apart.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <variant>
#include <vector>

#include "base/script_error.h"
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
  bool ofTheState = false;
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
    // faults of the state, found when the line is evaluated: out of range conditions, points that
    // are no number
    {"ПС 20000 = 3", "ПС20000=+3+", 20000, true},
    {"ПС 50 = 10001", "ПС50=+10001+", 50, true},
    {"ПС 50 = - С3", "ПС50=-С3+", 50, true},  // reads as condition -13
    {"ПС 50 = + Т", "ПС50=+Т+", 50, true},    // the evil points are text here
};

class ScoreLineTest : public ::testing::Test {
 protected:
  void State(std::initializer_list<int> set, int good, int evil) {
    for (int c = 0; c <= 20; ++c) t.Set(c, false);
    for (int c : set) t.Set(c);
    t.Set(50, false);
    t.p.character[1] = good;
    t.p.character[2] = evil;
  }
  // Condition 50 after a score pass over a location holding only `line`.
  bool ThroughThePass(const char* line) {
    t.Room(std::string(line) + "\n");
    SettleScoreVariables(t.p);
    return t.p.conditions.Get(50);
  }
  LocationPlayer t;
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
    t.p.character[2] = "много"_cp;
    t.platform.messages.clear();
    EXPECT_EQ(FatalReport(t.platform, [&] { ThroughThePass(row.line); }),
              std::string("Ошибка в строке ") + row.quoted +
                  " комнаты №1 при подсчете переменной счета №" + std::to_string(row.condition))
        << row.line;
  }
}

// What a line says, read from the string alone.
struct ParseRow {
  const char* line;
  long condition;
  std::vector<ScoreTerm> terms;
  int lower, upper;
  const char* quoted;
};

using T = ScoreTerm;

const ParseRow kParseRows[] = {
    // every operator, a "+" assumed before a leading digit, a "+" closing the last term
    {"ПС 5 = 3 + 4 > 1", 5, {{T::IfTrue, 3}, {T::IfTrue, 4}}, 1, 0, "ПС5=+3+4>1+"},
    {"ПС 5 = -3 - 0 < 2", 5, {{T::IfFalse, 3}, {T::IfFalse, 0}}, 0, 2, "ПС5=-3-0<2+"},
    {"ПС 5 = + С - С + Т - Т",
     5,
     {{T::AddGood}, {T::SubGood}, {T::AddEvil}, {T::SubEvil}},
     0,
     0,
     "ПС5=+С-С+Т-Т+"},
    {"ПС 5 = С - Т", 5, {{T::SubEvil}}, 0, 0, "ПС5=С-Т+"},  // the leading letter is dropped
    {"ПС 5 = 0 + 0", 5, {}, 0, 0, "ПС5=+0+0+"},             // "+0" is no term
    {"ПС 5 = - С3 + С3", 5, {{T::IfFalse, -13}}, 0, 0, "ПС5=-С3+С3+"},
    {"ПС 5 = +-+", 5, {}, 0, 0, "ПС5=+-++"},
    {"ПС 5 =", 5, {}, 0, 0, "ПС5=+"},
    // thresholds: signed, given twice (the last counts), empty
    {"ПС 5 = 1 > - 7 < -8", 5, {{T::IfTrue, 1}}, -7, -8, "ПС5=+1>-7<-8+"},
    {"ПС 5 = 1 > 2 > 3 < 4 < 5", 5, {{T::IfTrue, 1}}, 3, 5, "ПС5=+1>2>3<4<5+"},
    {"ПС 5 = 1 > - < ", 5, {{T::IfTrue, 1}}, 0, 0, "ПС5=+1>-<+"},
    // while a threshold is pending a "-" signs it rather than starting a term: the digits after it
    // join the threshold
    {"ПС 5 = 1 > -2 - 3", 5, {{T::IfTrue, 1}}, -23, 0, "ПС5=+1>-2-3+"},
    // edge numbers, blanks and other characters
    {"ПС 32767 = 32767 > 32767", 32767, {{T::IfTrue, 32767}}, 32767, 0, "ПС32767=+32767>32767+"},
    {"ПС -1 = -1", -1, {{T::IfFalse, 1}}, 0, 0, "ПС-1=-1+"},
    {"ПС 0 1 = 0 0 0 9", 1, {{T::IfTrue, 9}}, 0, 0, "ПС01=+0009+"},
    {"ПС 5 = 1x2 + 3", 5, {{T::IfTrue, 12}, {T::IfTrue, 3}}, 0, 0, "ПС5=+1x2+3+"},
    {"ПС 5 = 1С2 + Т", 5, {{T::AddEvil}}, 0, 0, "ПС5=+1С2+Т+"},
    {"пс 5 = 1\t", 5, {{T::IfTrue, 1}}, 0, 0, "пс5=+1\t+"},
};

TEST(ParseScoreLineTest, ReadsWhatTheLineSays) {
  for (const ParseRow& row : kParseRows) {
    const auto read = ParseScoreLine(FromUtf8(row.line));
    ASSERT_TRUE(std::holds_alternative<ScoreLine>(read)) << row.line;
    const ScoreLine& line = std::get<ScoreLine>(read);
    EXPECT_EQ(line.condition, row.condition) << row.line;
    EXPECT_EQ(line.terms, row.terms) << row.line;
    EXPECT_EQ(line.lower, row.lower) << row.line;
    EXPECT_EQ(line.upper, row.upper) << row.line;
    EXPECT_EQ(ToUtf8(line.quoted), row.quoted) << row.line;
    bool points = false;
    for (const ScoreTerm& t : row.terms) points |= t.kind != T::IfTrue && t.kind != T::IfFalse;
    EXPECT_EQ(line.usesPoints, points) << row.line;
  }
}

TEST(ParseScoreLineTest, TellsScoreLinesByTheirPrefix) {
  for (const char* line : {"ПС 1", "пС 1=2", "пс  "}) EXPECT_TRUE(IsScoreLine(FromUtf8(line)));
  for (const char* line : {"ПС ", "ПС1=2", "П С 1=2", " ПС 1=2", "ПЗ 1=2", ""})
    EXPECT_FALSE(IsScoreLine(FromUtf8(line))) << line;
}

TEST_F(ScoreLineTest, ValuesOfTheLineReaderMatchThePass) {
  for (const ValueRow& row : kValueRows) {
    State(row.set, row.good, row.evil);
    const std::string line = FromUtf8(row.line);
    bool value = false;  // a line that is no score line leaves condition 50 alone
    if (IsScoreLine(line)) {
      const auto read = ParseScoreLine(line);
      ASSERT_TRUE(std::holds_alternative<ScoreLine>(read)) << row.line;
      value = EvaluateScoreLine(t.p, std::get<ScoreLine>(read));
    }
    EXPECT_EQ(value, row.expected) << row.line;
  }
}

TEST_F(ScoreLineTest, FaultsOfTheLineReaderMatchThePass) {
  State({3}, 0, 0);
  t.p.character[2] = "много"_cp;
  for (const FaultRow& row : kFaultRows) {
    const auto read = ParseScoreLine(FromUtf8(row.line));
    if (!row.ofTheState) {
      ASSERT_TRUE(std::holds_alternative<ScoreLineFault>(read)) << row.line;
      const ScoreLineFault& fault = std::get<ScoreLineFault>(read);
      EXPECT_EQ(ToUtf8(fault.quoted), row.quoted);
      EXPECT_EQ(fault.condition, row.condition) << row.line;
      continue;
    }
    ASSERT_TRUE(std::holds_alternative<ScoreLine>(read)) << row.line;
    const ScoreLine& line = std::get<ScoreLine>(read);
    EXPECT_EQ(ToUtf8(line.quoted), row.quoted);
    EXPECT_EQ(line.condition, row.condition) << row.line;
    // The pass reads the defined condition as well as the terms.
    EXPECT_THROW(
        {
          EvaluateScoreLine(t.p, line);
          t.p.conditions.Get(line.condition);
        },
        ScriptError)
        << row.line;
  }
}

}  // namespace
}  // namespace mireval
