// Small helpers that put a control of the window model onto a Qt widget, touching the widget only
// where it differs, so the window can be synchronised after every event without flicker. Where
// and how large a widget is, the window's layouts decide.
#pragma once

#include <QColor>
#include <QString>

class QWidget;

namespace mireval {

struct Control;
struct Rgb;

// Shows or hides the widget as the control is.
void Show(QWidget* w, const Control& c);
QColor ToQColor(const Rgb& c);
// The widget's text, set only when it differs (a label, a line edit, a button).
template <class W>
void SetText(W* w, const QString& text) {
  if (w->text() != text) w->setText(text);
}
// A caption for a push button: "&" is shown as it is, not taken as a shortcut mark.
QString ButtonCaption(const std::string& cp1251);

}  // namespace mireval
