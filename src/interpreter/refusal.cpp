#include "interpreter/refusal.h"

#include "base/text.h"
#include "base/vocabulary.h"
#include "model/player.h"
#include "view/output.h"

namespace mireval {

constexpr std::array<const char*, 10> kRefusalsUtf8 = {
    "Не думаю, что это как-то поможет.",
    "Наш герой не хочет этого делать.",
    "Это не поможет.",
    "Так ничего не выйдет - пробуй что-то еще.",
    "Интерпретатор вас не понимает.",
    "Тут надо придумать что-то получше.",
    "Этот вариант не проходит.",
    "Такую команду выполнять не хочется.",
    "Нет, это ничего не даст.",
    "Придумай что-нибудь еще.",
};

bool IsAutoDialogueCommand(const Player& p) {
  return p.commandLine == words::kAutomaticDialogue ||
         p.commandLine == words::kAutomaticDialogueCommand;
}

void RefuseCommand(Player& p) {
  // Next() is below 1, so the index stays within the ten sentences.
  const auto n = static_cast<std::size_t>(10 * p.rng.Next());
  p.line = FromUtf8(kRefusalsUtf8[n < kRefusalsUtf8.size() ? n : kRefusalsUtf8.size() - 1]);
  if (IsAutoDialogueCommand(p)) return;
  p.story.Append("\r\n> " + p.commandLine + "\r\n" + p.line + "\r\n");
  StoryTail(p);
}

}  // namespace mireval
