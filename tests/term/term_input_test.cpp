// What mirterm makes of an input line, before anything is carried out.
#include "frontends/term/term_input.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace mireval {
namespace {

using Kind = TermAction::Kind;

TEST(TermInput, TextIsTypedAsItStandsAndADoubleSlashTypesOne) {
  for (const auto& [line, typed] : std::vector<std::pair<std::string, std::string>>{
           {"", ""},
           {"  идти на север ", "  идти на север "},
           {"//word", "/word"},
           {"//", "/"},
           {"a /quit", "a /quit"},
       }) {
    TermAction a = ReadTermAction(line);
    EXPECT_EQ(a.kind, Kind::Type) << line;
    EXPECT_EQ(a.text, typed);
  }
}

TEST(TermInput, ActionsTakeOnlyTheirArguments) {
  EXPECT_EQ(ReadTermAction("/state").kind, Kind::State);
  EXPECT_EQ(ReadTermAction("/quit").kind, Kind::Quit);
  EXPECT_EQ(ReadTermAction("/enter  ").kind, Kind::Enter);
  EXPECT_EQ(ReadTermAction("/picture  close ").kind, Kind::ClosePicture);

  // Paths keep their inner blanks; the ends are trimmed.
  TermAction open = ReadTermAction("/open  ../my game ");
  EXPECT_EQ(open.kind, Kind::Open);
  EXPECT_EQ(open.text, "../my game");
  TermAction load = ReadTermAction("/load копия.sav");
  EXPECT_EQ(load.kind, Kind::Load);
  EXPECT_EQ(load.text, "копия.sav");

  // Buttons 0 (the close button) to 12; words and columns count from 1 as the player sees them.
  for (int button : {0, 12}) {
    TermAction a = ReadTermAction("/answer " + std::to_string(button));
    EXPECT_EQ(a.kind, Kind::Answer);
    EXPECT_EQ(a.index, button);
  }
  TermAction word = ReadTermAction("/word 2 1");
  EXPECT_EQ(word.kind, Kind::Word);
  EXPECT_EQ(word.column, 1);
  EXPECT_EQ(word.index, 0);

  for (const char* line :
       {"/", "/fly away", "/State", "/enter now", "/picture", "/picture open", "/open", "/load   ",
        "/answer", "/answer -1", "/answer 13", "/answer 1 2", "/answer x", "/word 1", "/word 0 1",
        "/word 3 1", "/word 1 0", "/word 1 1 1", "/opengame"})
    EXPECT_EQ(ReadTermAction(line).kind, Kind::Unknown) << line;
}

TEST(TermInput, ExpectationsNameWhatTheyCheck) {
  TermAction text = ReadTermAction("/expect  Над холмом ");
  EXPECT_EQ(text.kind, Kind::ExpectText);
  EXPECT_EQ(text.text, "Над холмом");
  EXPECT_EQ(ReadTermAction("/expect-not ключ").kind, Kind::ExpectNoText);
  for (const auto& [line, number, on] : std::vector<std::tuple<std::string, long, int>>{
           {"/condition -1 on", -1, 1}, {"/condition 10000 off", 10000, 0}}) {
    TermAction a = ReadTermAction(line);
    EXPECT_EQ(a.kind, Kind::ExpectCondition) << line;
    EXPECT_EQ(a.index, number);
    EXPECT_EQ(a.column, on);
  }
  TermAction room = ReadTermAction("/room 12");
  EXPECT_EQ(room.kind, Kind::ExpectRoom);
  EXPECT_EQ(room.index, 12);
  for (const char* line : {"/expect", "/expect   ", "/expect-not", "/condition 5",
                           "/condition 5 yes", "/condition -2 on", "/condition 10001 off",
                           "/condition 5 on 6", "/room", "/room x", "/room 1 2", "/expected x"})
    EXPECT_EQ(ReadTermAction(line).kind, Kind::Unknown) << line;
}

}  // namespace
}  // namespace mireval
