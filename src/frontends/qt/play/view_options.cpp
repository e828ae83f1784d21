#include "frontends/qt/play/view_options.h"

#include <QSettings>
#include <algorithm>
#include <cmath>

#include "frontends/qt/play/widgets.h"
#include "model/player.h"
#include "view/colors.h"

namespace mireval {

ViewOptions ViewOptions::Load(QSettings& s) {
  ViewOptions o;
  o.zoom = std::clamp(s.value("view/zoom", 1.0).toDouble(), kMinZoom, kMaxZoom);
  if (!std::isfinite(o.zoom)) o.zoom = 1.0;
  o.readableMeasure = s.value("view/readableMeasure", true).toBool();
  o.ownColours = s.value("view/ownColours", false).toBool();
  o.ownScheme = s.value("view/ownScheme", 1).toInt();
  if (o.ownScheme < 1 || o.ownScheme > kHighContrastScheme) o.ownScheme = 1;
  return o;
}

void ViewOptions::Save(QSettings& s) const {
  s.setValue("view/zoom", zoom);
  s.setValue("view/readableMeasure", readableMeasure);
  s.setValue("view/ownColours", ownColours);
  s.setValue("view/ownScheme", ownScheme);
}

double ZoomStep(double zoom, int steps) {
  // Steps of a tenth, rounded so that stepping up and back down returns to the same size.
  double z = std::round((zoom + 0.1 * steps) * 10) / 10;
  return std::clamp(z, kMinZoom, kMaxZoom);
}

WindowColours GameColours(const Player& p) {
  return {ToQColor(p.story.back), ToQColor(p.story.fore), ToQColor(p.answers[0].back),
          ToQColor(p.answers[0].fore)};
}

WindowColours SchemeColours(int scheme) {
  if (scheme == kHighContrastScheme)
    return {QColor(0, 0, 0), QColor(255, 255, 255), QColor(255, 255, 0), QColor(0, 0, 0)};
  SchemeLook look = LookOfScheme(scheme);
  return {ToQColor(look.back), ToQColor(look.text), ToQColor(look.buttons), QColor(0, 0, 0)};
}

QPalette PaletteFor(const WindowColours& c, const QPalette& base) {
  QPalette pal = base;
  pal.setColor(QPalette::Window, c.back);
  pal.setColor(QPalette::WindowText, c.text);
  pal.setColor(QPalette::Base, c.back);
  pal.setColor(QPalette::AlternateBase, c.back);
  pal.setColor(QPalette::Text, c.text);
  pal.setColor(QPalette::PlaceholderText, c.text);
  pal.setColor(QPalette::BrightText, c.text);
  pal.setColor(QPalette::Button, c.buttons);
  pal.setColor(QPalette::ButtonText, c.buttonText);
  pal.setColor(QPalette::Highlight, c.text);
  pal.setColor(QPalette::HighlightedText, c.back);
  pal.setColor(QPalette::ToolTipBase, c.buttons);
  pal.setColor(QPalette::ToolTipText, c.buttonText);
  // Fusion shades frames and scroll bars from these.
  pal.setColor(QPalette::Light, c.buttons.lighter(130));
  pal.setColor(QPalette::Midlight, c.buttons.lighter(110));
  pal.setColor(QPalette::Mid, c.buttons.darker(130));
  pal.setColor(QPalette::Dark, c.buttons.darker(160));
  pal.setColor(QPalette::Shadow, c.back.darker(200));
  return pal;
}

}  // namespace mireval
