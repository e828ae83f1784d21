// Messages that quote a script line or a typed line quote at most 300 characters of it.
#include "model/report.h"

#include <gtest/gtest.h>

#include "base/cipher.h"
#include "base/lines.h"
#include "base/text.h"
#include "interpreter/events.h"
#include "interpreter/locations.h"
#include "interpreter/score.h"
#include "interpreter/typed_command.h"
#include "support/test_game.h"
#include "view/media.h"

namespace mireval {
namespace {

TEST(QuotedLineTest, LinesOverThreeHundredCharactersAreCutWithAnEllipsis) {
  const std::string exact(300, 'x');
  EXPECT_EQ(QuotedLine(exact), exact);
  EXPECT_EQ(QuotedLine(exact + "y"), exact + "\x85");
  EXPECT_EQ(QuotedLine(""), "");
  EXPECT_EQ(LineErrorText(Variant(2), exact + "yz"),
            "Ошибка в строке: "_cp + "\r\n" + exact + "\x85\r\n" + "(комната №2)"_cp);
}

// Every reporter, given a line of 1,000 characters: the message holds its first 300 and "…".
class LongLineReportTest : public ::testing::Test {
 protected:
  static std::string Letters(std::size_t n) {
    std::string out;
    while (out.size() < n * 2) out += "абвгд";  // two bytes a letter in UTF-8
    return out.substr(0, n * 2);
  }
  // The message, which must quote `head`, the letters that follow it up to 300 characters, "…"
  // and `after`.
  void ExpectCut(const std::string& head, const std::string& after) {
    ASSERT_EQ(t.platform.messages.size(), 1u);
    const std::size_t headLength = FromUtf8(head).size();
    const std::string quoted = head + Letters(300 - headLength) + "…";
    EXPECT_NE(t.platform.messages[0].find(quoted + after), std::string::npos)
        << t.platform.messages[0].substr(0, 400);
    EXPECT_LT(t.platform.messages[0].size(), 1000u);
  }
  LocationPlayer t;
};

TEST_F(LongLineReportTest, CommandsScoreVariablesDescriptionsEventsAndPictures) {
  // The common form, from a command entry's conditions line.
  t.Game("room1.txt", "РН x\n\nТ ВЗЯТЬ\nЛ 99999 " + Letters(1000) + "\nвзято\n\n");
  t.p.input.SetText("взять"_cp);
  EXPECT_EQ(ExpectEnd([&] { ExecuteTypedCommand(t.p); }), kExitAfterError);
  ExpectCut("Л 99999 ", "\r\n(комната №1)");

  t.platform.messages.clear();
  t.Game("room1.txt", "РН x\nПС " + Letters(1000) + "\n");
  EXPECT_EQ(ExpectEnd([&] { SettleScoreVariables(t.p); }), kExitAfterError);
  ExpectCut("ПС", " комнаты №1 при подсчете переменной счета №0");

  t.platform.messages.clear();
  t.Game("room1.txt", "РН x\nОП 99999" + Letters(1000) + "\nтекст\n");
  EXPECT_EQ(ExpectEnd([&] { ShowRoom(t.p); }), kExitAfterError);
  ExpectCut("ОП 99999", "");

  t.platform.messages.clear();
  std::filesystem::remove(t.game() / "room0.txt");
  t.Game("room1.txt", "РН x\nСОБ 7 " + Letters(1000) + "\n");
  RunEventsPass(t.p, 7);
  ExpectCut("", " в локации №1");

  t.platform.messages.clear();
  ShowPictureLine(t.p, "КАР x"_cp + FromUtf8(Letters(1000)));
  ExpectCut("КАР x", " локации 1");
}

// Every script error also names the game file and line it came from, for the author to open.
class ErrorPlaceTest : public ::testing::Test {
 protected:
  // The places of the script errors shown, after the messages were (one or more).
  std::vector<std::string> Places() const { return t.platform.scriptErrorPlaces; }
  LocationPlayer t;
};

TEST_F(ErrorPlaceTest, CommandsScoreVariablesEventsAndScrambledFilesNameTheirLine) {
  // A command entry's conditions line: the fourth line of the location's file.
  t.Room("\nТ ВЗЯТЬ\nЛ 99999\nвзято\n\n");
  t.p.input.SetText("взять"_cp);
  EXPECT_EQ(ExpectEnd([&] { ExecuteTypedCommand(t.p); }), kExitAfterError);
  EXPECT_EQ(Places(), std::vector<std::string>{"room1.txt:4"});

  // The same file scrambled: the line of the plain text the author wrote.
  t.platform.scriptErrorPlaces.clear();
  WriteRaw(
      t.game() / "room1.txt",
      Encrypt(SplitLines(FromUtf8("РН x\n\nТ ВЗЯТЬ\nЛ 99999\nвзято\n")), CipherKind::Ordinary));
  EXPECT_EQ(ExpectEnd([&] { ExecuteTypedCommand(t.p); }), kExitAfterError);
  EXPECT_EQ(Places(), std::vector<std::string>{"room1.txt:4"});

  // A score variable of room0.txt, read into memory with its file and run later.
  t.platform.scriptErrorPlaces.clear();
  t.Room("ПС 5 = 1\n");
  t.Game("room0.txt", "РН общие\n\nПС x\n");
  EXPECT_EQ(ExpectEnd([&] { SettleScoreVariables(t.p); }), kExitAfterError);
  EXPECT_EQ(Places(), std::vector<std::string>{"room0.txt:3"});

  // An event line whose picture is missing: reported, and play goes on.
  t.platform.scriptErrorPlaces.clear();
  t.Game("room0.txt", "РН общие\n");
  t.Room("ПС 7 = 1\nтекст\nСОБ 7 КАР 2 нет.jpg\n");
  SettleScoreVariables(t.p);
  EXPECT_EQ(Places(), std::vector<std::string>{"room1.txt:4"});
}

}  // namespace
}  // namespace mireval
