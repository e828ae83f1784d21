#include "frontends/qt/play/widgets.h"

#include <QWidget>

#include "frontends/qt/play/story_view.h"
#include "model/form.h"

namespace mireval {

void Show(QWidget* w, const Control& c) {
  if (w->isHidden() == c.visible) w->setVisible(c.visible);
}

QColor ToQColor(const Rgb& c) {
  return QColor(c.r, c.g, c.b);
}

QString ButtonCaption(const std::string& cp1251) {
  return DisplayText(cp1251).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

}  // namespace mireval
