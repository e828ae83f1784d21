// The answer to a command that nothing in the game recognised.
#pragma once

#include <array>

namespace mireval {

struct Player;

// The ten refusal sentences, in the order the draw numbers them (UTF-8).
extern const std::array<const char*, 10> kRefusalsUtf8;

// Echoes the command and writes one of the refusal sentences, drawn from the shared generator.
// An automatic dialogue turn draws too but writes nothing.
void RefuseCommand(Player& p);

// Whether the command line is the automatic dialogue's own, which is never echoed.
bool IsAutoDialogueCommand(const Player& p);

}  // namespace mireval
