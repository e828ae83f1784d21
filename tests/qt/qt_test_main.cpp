// Widget tests need a QApplication; listing the tests (as the build does to discover them) must
// not, so that it works without any display.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStyleFactory>
#include <QTemporaryDir>

// Under the leak checker: the caches that GLib, GStreamer, PulseAudio and fontconfig keep until
// the process ends are theirs, not leaks of ours.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libglib-2.0.so\n"
         "leak:libgobject-2.0.so\n"
         "leak:libgstreamer-1.0.so\n"
         "leak:libpulse.so\n"
         "leak:libfontconfig.so\n"
         "leak:libdbus-1.so\n"
         "leak:__vasprintf_internal\n";
}

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  // The same media backend as the program.
  if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND")) qputenv("QT_MEDIA_BACKEND", "gstreamer");
  // The window remembers its size and the player's view; tests keep their own, and start afresh.
  QTemporaryDir settings;
  qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
  QApplication app(argc, argv);
  QApplication::setStyle(QStyleFactory::create("Fusion"));
  return RUN_ALL_TESTS();
}
