// mirplay: the desktop player. Takes no arguments; the working folder is the program folder, where
// obloz.txt, start.txt and the command log live.
#include <QApplication>
#include <QStyleFactory>
#include <clocale>
#include <filesystem>
#include <iostream>

#include "app/startup.h"
#include "frontends/qt/play/main_window.h"
#include "frontends/qt/play/qt_platform.h"
#include "model/player.h"
#include "platform/program_folder.h"

int main(int argc, char** argv) {
  // An installed copy plays in the user's own program folder (made on first start); a run from a
  // build tree keeps the folder it was started in.
  mireval::ProgramFolderChoice folder =
      mireval::UseProgramFolder(mireval::CurrentExecutable(argv[0]));
  if (!folder.problem.empty()) std::cerr << "mirplay: " << folder.problem << "\n";
  // Qt Multimedia's GStreamer backend plays what the distribution's plugins play (MIDI included
  // where a plugin exists); the environment may still choose another backend.
  if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND")) qputenv("QT_MEDIA_BACKEND", "gstreamer");
  QApplication app(argc, argv);
  // Qt has just taken the locale from the environment. The engine writes and reads numbers
  // without it, but any C library conversion left anywhere must not see a decimal comma either.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName("mirplay");
  // Fusion draws push buttons in their palette colour, which the colour schemes rely on.
  QApplication::setStyle(QStyleFactory::create("Fusion"));

  mireval::QtPlatform platform;
  mireval::Player player(platform, std::filesystem::current_path());
  mireval::MainWindow window(player, platform);
  platform.SetWindow(&window);

  // The window is shown before start-up runs, so that autostart's messages appear over it.
  window.show();
  window.Run([&] { mireval::StartPlayer(player); });
  if (platform.Ending()) return platform.ExitStatus();
  return app.exec();
}
