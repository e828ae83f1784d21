#pragma once

#include "base/variant.h"

namespace mireval {

struct Player;

// Rebuilds the synonym table from the synonym lines of room<N>.txt and room0.txt.
void LoadLocationSynonyms(Player& p, const Variant& room);

}  // namespace mireval
