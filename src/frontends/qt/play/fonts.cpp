#include "frontends/qt/play/fonts.h"

#include <QFontDatabase>

namespace mireval {

QFont PickFont(const QStringList& families, QFont::StyleHint hint, int pointSize) {
  const QStringList installed = QFontDatabase::families();
  for (const QString& family : families) {
    if (installed.contains(family, Qt::CaseInsensitive)) {
      QFont font(family, pointSize);
      font.setStyleHint(hint);
      return font;
    }
  }
  // None of the named faces: let the font system pick one of the right kind, without a word.
  QFont font;
  font.setStyleHint(hint);
  font.setFamily(hint == QFont::Serif ? QStringLiteral("serif") : QStringLiteral("sans-serif"));
  font.setPointSize(pointSize);
  return font;
}

QFont StoryFont() {
  return PickFont({"Times New Roman", "Liberation Serif", "DejaVu Serif"}, QFont::Serif, 12);
}

QFont InputFont() {
  return PickFont({"MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans", "DejaVu Sans"},
                  QFont::SansSerif, 10);
}

}  // namespace mireval
