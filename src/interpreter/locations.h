#pragma once

#include "script/location_files.h"

namespace mireval {

struct Player;

// Describes the current location: its name from the header, the best description block whose
// conditions hold, written through the output writer.
void ShowRoom(Player& p);

}  // namespace mireval
