// A game folder with a location 1 and a room0.txt, and typing commands into the interpreter.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "commands/komand.h"
#include "commands/refusal.h"
#include "engine/text.h"
#include "support/test_game.h"

namespace mireval {

class CommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    t.UseGameDir();
    t.p.Room = 1;
    t.p.RoomName = FromUtf8(" Поляна");
    t.Game("room0.txt", "РН Общие\n");
  }
  // Types `utf8` into the input line, runs the interpreter and returns what the story gained.
  std::string Type(const std::string& utf8) {
    const std::size_t before = t.p.T.text.size();
    t.p.Text2.SetText(FromUtf8(utf8));
    Komand(t.p);
    return ToUtf8(t.p.T.text.substr(std::min(before, t.p.T.text.size())));
  }
  // Whether `gained` is a refusal to the command line `framed` (the typed text with its blanks).
  static bool IsRefusal(const std::string& gained, const std::string& framed) {
    const std::string head = "\r\n> " + framed + "\r\n";
    if (gained.rfind(head, 0) != 0) return false;
    for (const char* sentence : kRefusalsUtf8)
      if (gained.substr(head.size()) == std::string(sentence) + "\r\n") return true;
    return false;
  }
  TestPlayer t;
};

}  // namespace mireval
