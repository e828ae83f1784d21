// A real window over a real QtPlatform, with a working and a game folder of its own; and a way
// for a test to answer the modal dialogs the window opens.
#pragma once

#include <gtest/gtest.h>

#include <QColor>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "frontends/qt/play/main_window.h"
#include "frontends/qt/play/qt_platform.h"
#include "model/player.h"
#include "support/test_game.h"

class QWidget;

namespace mireval {

// The desktop port with a clock that can be fixed, so that a game's random draws repeat.
class TestQtPlatform : public QtPlatform {
 public:
  std::optional<double> seed;
  double ClockSeed() override { return seed ? *seed : QtPlatform::ClockSeed(); }
};

class WindowTest : public ::testing::Test {
 protected:
  WindowTest();
  ~WindowTest() override;

  // Builds and shows the window; tests that watch the clicks pass their own seams.
  void Open(Seams seams = EngineSeams());
  void Game(const std::string& name, const std::string& utf8) {
    WriteGameFile(game() / name, utf8);
  }
  void Work(const std::string& name, const std::string& utf8) {
    WriteGameFile(work() / name, utf8);
  }
  // A picture of one colour in the game folder, as a PNG.
  void Picture(const std::string& name, QSize size, QColor colour);
  std::filesystem::path work() const { return root.path() / "work"; }
  std::filesystem::path game() const { return root.path() / "game"; }
  template <class W>
  W* Find(const QString& name) const {
    return window->findChild<W*>(name);
  }

  TempDir root;
  TestQtPlatform platform;
  Player p;
  std::unique_ptr<MainWindow> window;
};

// What a test saw of a modal dialog it answered.
struct SeenDialog {
  bool shown = false;
  QString title;
  QString text;
  QString informativeText;  // a message box's line under its text
};

// Waits (from the event loop) for the next modal dialog, notes what it shows and lets `answer`
// act on it: click a button, type into it, close it.
std::shared_ptr<SeenDialog> AnswerNextDialog(std::function<void(QWidget*)> answer);
// Presses the dialog's button whose text is `caption`.
void PressButton(QWidget* dialog, const QString& caption);

// Types `text` into the widget one character at a time, as a keyboard would (QTest's own typing
// knows only ASCII).
void Type(QWidget* w, const QString& text);

// Process CPU time in seconds.
double CpuSeconds();

}  // namespace mireval
