#pragma once

#include "model/form.h"

namespace mireval {

struct Player;

struct ColorPair {
  Rgb back;
  Rgb text;
};

// The colours of a scheme number; any number other than 1..12 gives scheme 1.
ColorPair SchemeColors(int scheme);

// What a scheme colours: background and text everywhere, and the face of the answer buttons.
struct SchemeLook {
  Rgb back;
  Rgb text;
  Rgb buttons;
};
SchemeLook LookOfScheme(int scheme);

// Recolours the window for the colour scheme (a number or the text of one; anything else is scheme
// 1).
void ApplyColorScheme(Player& p);

}  // namespace mireval
