// What the player chooses for the window rather than for a game: text size, the readable measure,
// and colours of their own. Kept between runs.
#pragma once

#include <QColor>
#include <QPalette>

class QSettings;

namespace mireval {

struct Player;

// The colours the whole window is painted in.
struct WindowColours {
  QColor back, text, buttons, buttonText;
  bool operator==(const WindowColours&) const = default;
};

// Scheme numbers the player may pick: the twelve of the games and one more of our own.
constexpr int kHighContrastScheme = 13;

struct ViewOptions {
  double zoom = 1.0;
  bool readableMeasure = true;  // lines of about 75 characters, centred, on wide windows
  bool ownColours = false;      // the player's scheme even where a game sets its own
  int ownScheme = 1;            // 1..12 or kHighContrastScheme

  static ViewOptions Load(QSettings& settings);
  void Save(QSettings& settings) const;
};

constexpr double kMinZoom = 0.5;
constexpr double kMaxZoom = 3.0;
// One step of Ctrl+plus or Ctrl+minus from `zoom`, kept within the limits.
double ZoomStep(double zoom, int steps);

// The game's colours as the window model holds them.
WindowColours GameColours(const Player& p);
// The colours of a scheme the player picked.
WindowColours SchemeColours(int scheme);
// A palette that paints every part of the window (panes, fields, buttons, scroll bars, menus).
QPalette PaletteFor(const WindowColours& colours, const QPalette& base);

}  // namespace mireval
