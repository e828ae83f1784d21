// The two faces the window is designed with, or their nearest kin on this machine.
#pragma once

#include <QFont>
#include <QStringList>

namespace mireval {

// The first of `families` installed here; when none is, the default face of the hint's kind.
QFont PickFont(const QStringList& families, QFont::StyleHint hint, int pointSize);

// Serif for the story area: Times New Roman, else Liberation Serif or DejaVu Serif.
QFont StoryFont();
// Sans for the input line and the other controls.
QFont InputFont();

}  // namespace mireval
