#include "frontends/qt/play/widgets.h"

#include <QWidget>
#include <cmath>

#include "frontends/qt/play/story_view.h"
#include "shell/form.h"

namespace mireval {

namespace {
// Coordinates far outside any screen are clamped before rounding.
int Pixel(double units, double unitsPerPixel) {
  double v = units / unitsPerPixel;
  if (!std::isfinite(v)) return 0;
  return static_cast<int>(std::lround(std::clamp(v, -100000.0, 100000.0)));
}
}  // namespace

QRect PixelRect(const Control& c, double unitsPerPixel) {
  int left = Pixel(c.left, unitsPerPixel), top = Pixel(c.top, unitsPerPixel);
  int right = Pixel(c.left + c.width, unitsPerPixel);
  int bottom = Pixel(c.top + c.height, unitsPerPixel);
  return QRect(left, top, std::max(0, right - left), std::max(0, bottom - top));
}

void Place(QWidget* w, const Control& c, double unitsPerPixel) {
  QRect r = PixelRect(c, unitsPerPixel);
  if (w->geometry() != r) w->setGeometry(r);
  if (w->isHidden() == c.visible) w->setVisible(c.visible);
}

QColor ToQColor(const Rgb& c) {
  return QColor(c.r, c.g, c.b);
}

void Paint(QWidget* w, const Control& c, QPalette::ColorRole back, QPalette::ColorRole fore) {
  QColor b = ToQColor(c.back), f = ToQColor(c.fore);
  QPalette pal = w->palette();
  if (pal.color(QPalette::Active, back) == b && pal.color(QPalette::Active, fore) == f &&
      pal.color(QPalette::Inactive, back) == b)
    return;
  pal.setColor(back, b);
  pal.setColor(fore, f);
  w->setPalette(pal);
}

QString ButtonCaption(const std::string& cp1251) {
  return DisplayText(cp1251).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

}  // namespace mireval
