// Messages that quote a script line or a typed line quote at most 300 characters of it.
#include "model/report.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace mireval
