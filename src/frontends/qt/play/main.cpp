// mirplay: the desktop player. The working folder is the program folder, where obloz.txt,
// start.txt and the command log live; a game folder, a game's main file or a save file named on the
// command line opens at once, ahead of start.txt.
#include <QApplication>
#include <QStyleFactory>
#include <clocale>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/startup.h"
#include "base/command_line.h"
#include "frontends/qt/play/main_window.h"
#include "frontends/qt/play/qt_platform.h"
#include "model/player.h"
#include "platform/program_folder.h"

namespace {

constexpr mireval::ProgramUsage kUsage = {
    "mirplay", "mirplay [GAME_DIR | MAIN_FILE | SAVE.sav]",
    "Plays Russian-language text quests in a window. With a game folder (or its main.txt) that\n"
    "game starts at once; with a save file (.sav) its game is loaded and goes on; without one,\n"
    "the game that start.txt of the program folder names, or the cover and the game browser.\n"
    "\n"
    "  --help      this text\n"
    "  --version   the program's version\n"
    "Qt's own options (-platform, -style, ...) are understood as well.\n"
    "\n"
    "Example: mirplay ~/games/quest\n"};

// The one thing the command line may name, made absolute against the folder the program was
// started in (an installed copy moves to its program folder before reading it). Nothing after a
// usage message.
std::optional<std::optional<std::filesystem::path>> NamedOnCommandLine(
    int argc, char** argv, const std::filesystem::path& startFolder) {
  std::optional<std::filesystem::path> named;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.size() > 1 && arg[0] == '-') {
      mireval::UsageError(kUsage, "unknown option " + arg, std::cerr);
      return std::nullopt;
    }
    if (named) {
      mireval::UsageError(kUsage, "more than one game named", std::cerr);
      return std::nullopt;
    }
    named = startFolder / arg;  // an absolute `arg` replaces the folder
  }
  return named;
}

}  // namespace

int main(int argc, char** argv) {
  // Answered before anything else, so that no display and no program folder is needed for them.
  if (const std::optional<int> answered = mireval::AnswerHelpOrVersion(
          kUsage, std::vector<std::string>(argv + 1, argv + argc), std::cout))
    return *answered;
  const std::filesystem::path startFolder = std::filesystem::current_path();
  // An installed copy plays in the user's own program folder (made on first start); a run from a
  // build tree keeps the folder it was started in.
  mireval::ProgramFolderChoice folder =
      mireval::UseProgramFolder(mireval::CurrentExecutable(argv[0]));
  if (!folder.problem.empty()) std::cerr << "mirplay: " << folder.problem << "\n";
  // Qt Multimedia's GStreamer backend plays what the distribution's plugins play (MIDI included
  // where a plugin exists); the environment may still choose another backend.
  if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND")) qputenv("QT_MEDIA_BACKEND", "gstreamer");
  QApplication app(argc, argv);  // takes Qt's own options out of argv
  const auto named = NamedOnCommandLine(argc, argv, startFolder);
  if (!named) return mireval::kExitUsage;
  // Qt has just taken the locale from the environment. The engine writes and reads numbers
  // without it, but any C library conversion left anywhere must not see a decimal comma either.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName("mirplay");
  // Fusion draws push buttons in their palette colour, which the colour schemes rely on.
  QApplication::setStyle(QStyleFactory::create("Fusion"));

  mireval::QtPlatform platform;
  mireval::Player player(platform, std::filesystem::current_path());
  player.startFileIgnored = named->has_value();
  mireval::MainWindow window(player, platform);
  platform.SetWindow(&window);

  // The window is shown before start-up runs, so that autostart's messages appear over it.
  window.show();
  window.Run([&] {
    mireval::StartPlayer(player);
    if (*named) mireval::OpenFromCommandLine(player, **named);
  });
  if (platform.Ending()) return platform.ExitStatus();
  return app.exec();
}
