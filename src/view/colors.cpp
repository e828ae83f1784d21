#include "view/colors.h"

#include <array>

#include "base/variant.h"
#include "model/player.h"

namespace mireval {

namespace {
constexpr std::array<ColorPair, 12> kSchemes = {{
    {{0, 0, 128}, {192, 192, 255}},
    {{0, 128, 0}, {192, 255, 192}},
    {{0, 0, 0}, {224, 224, 224}},
    {{128, 128, 0}, {255, 255, 192}},
    {{128, 0, 0}, {255, 192, 192}},
    {{128, 0, 128}, {255, 192, 255}},
    {{224, 224, 224}, {0, 0, 0}},
    {{0, 0, 128}, {255, 255, 192}},
    {{64, 64, 64}, {255, 255, 255}},
    {{0, 128, 0}, {255, 224, 192}},
    {{128, 128, 128}, {192, 192, 255}},
    {{0, 0, 128}, {255, 224, 192}},
}};
constexpr int kLightScheme = 7;  // its buttons take the background colour

// The scheme number a colour scheme value stands for, 0 when it is none of 1..12.
int SchemeNumber(const Variant& v) {
  if (v.IsEmpty()) return 0;
  if (v.IsText() && !ParseNumber(v.Text())) return 0;
  double n = v.Number();
  for (int s = 1; s <= 12; ++s)
    if (n == s) return s;
  return 0;
}
}  // namespace

ColorPair SchemeColors(int scheme) {
  if (scheme < 1 || scheme > 12) scheme = 1;
  return kSchemes[static_cast<std::size_t>(scheme - 1)];
}

SchemeLook LookOfScheme(int scheme) {
  ColorPair c = SchemeColors(scheme);
  return {c.back, c.text, scheme == kLightScheme ? c.back : c.text};
}

void ApplyColorScheme(Player& p) {
  SchemeLook look = LookOfScheme(SchemeNumber(p.colorScheme));
  ColorPair c{look.back, look.text};
  Rgb buttons = look.buttons;

  for (Control* ctl : std::initializer_list<Control*>{
           &p.statusLabels[0], &p.statusLabels[1], &p.statusLabels[2], &p.statusLabels[4],
           &p.browserCaption, &p.story, &p.input, &p.folders, &p.drives, &p.files}) {
    ctl->back = c.back;
    ctl->fore = c.text;
  }
  p.browserPanel.back = c.back;
  for (Button& b : p.answers) b.back = buttons;
  p.schemeBack = c.back;
  p.schemeText = c.text;
  p.schemeButtons = buttons;
}

}  // namespace mireval
