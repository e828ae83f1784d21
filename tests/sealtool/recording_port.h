// A seal-tool port for tests: records what the handlers show, in order, and answers questions from
// a queue.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "base/text.h"
#include "sealtool/seal_form.h"

namespace mireval::seal {

class RecordingPort : public SealPort {
 public:
  void MessageBox(const std::string& text) override { log.push_back("box " + ToUtf8(text)); }
  bool AskYesNo(const std::string& text) override {
    log.push_back("ask " + ToUtf8(text));
    if (answers.empty()) {
      ADD_FAILURE() << "unexpected question";
      return false;
    }
    bool a = answers.front();
    answers.pop_front();
    return a;
  }
  void Beep() override { log.push_back("beep"); }
  void EndProgram(int status) override { log.push_back("end " + std::to_string(status)); }

  std::vector<std::string> Take() { return std::exchange(log, {}); }

  std::vector<std::string> log;
  std::deque<bool> answers;
};

inline const std::string kStrongQuestionLog =
    "ask Включить режим усиленного шифрования? В отличие от обычного расшифрования, вы (правда, "
    "как и никто другой) не сможет расшифровать.";

}  // namespace mireval::seal
