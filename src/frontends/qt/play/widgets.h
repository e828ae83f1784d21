// Small helpers that put a control of the window model onto a Qt widget, touching the widget only
// where it differs, so the window can be synchronised after every event without flicker.
#pragma once

#include <QPalette>
#include <QRect>
#include <QString>

class QWidget;

namespace mireval {

struct Control;
struct Rgb;

// The control's rectangle in pixels; `unitsPerPixel` is 1 for window coordinates and 15 for the
// twips of the picture panel's children. Edges are rounded, so neighbours never overlap or gap.
QRect PixelRect(const Control& c, double unitsPerPixel = 1);
// Position, size and visibility.
void Place(QWidget* w, const Control& c, double unitsPerPixel = 1);
// Background and text colour on the given palette roles.
void Paint(QWidget* w, const Control& c, QPalette::ColorRole back, QPalette::ColorRole fore);
QColor ToQColor(const Rgb& c);
// The widget's text, set only when it differs (a label, a line edit, a button).
template <class W>
void SetText(W* w, const QString& text) {
  if (w->text() != text) w->setText(text);
}
// A caption for a push button: "&" is shown as it is, not taken as a shortcut mark.
QString ButtonCaption(const std::string& cp1251);

}  // namespace mireval
