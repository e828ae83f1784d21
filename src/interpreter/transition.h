#pragma once

#include "base/variant.h"

namespace mireval {

struct Player;

constexpr const char* kTransitionPromptUtf8 = ">> Нажмите Enter для перехода в новую локацию...";

// Announces the move, waits for Enter, then replaces the story area with the description of
// location `room`.
void MoveToLocation(Player& p, const Variant& room);

// Shows location `room` afresh: the story area emptied at its full height, no answers, the
// synonyms of the location's files, its description and the status line.
void EnterLocation(Player& p, const Variant& room);

}  // namespace mireval
