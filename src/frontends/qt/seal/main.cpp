// mirseal: scrambles the location and list files of a game folder. With no arguments it opens its
// window on the current folder; with arguments it works from the command line (no display needed).
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include <QApplication>

#include "frontends/qt/seal/qt_seal_port.h"
#include "frontends/qt/seal/seal_window.h"
#include "platform/program_folder.h"
#include "sealtool/command_line.h"

int main(int argc, char** argv) {
  if (argc > 1) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return mireval::seal::SealCommandLine(args, std::cout, std::cerr);
  }
  // The window opens on the working folder; an installed copy works in the user's program folder,
  // which also holds the games shipped with the player. The command line
  // keeps the folder it was started in, so that relative paths mean what the author typed.
  mireval::ProgramFolderChoice folder =
      mireval::UseProgramFolder(mireval::CurrentExecutable(argv[0]));
  if (!folder.problem.empty()) std::cerr << "mirseal: " << folder.problem << "\n";
  QApplication app(argc, argv);
  mireval::seal::QtSealPort port;
  // The window opens where the author left it last time.
  mireval::seal::SealWindow window(
      port, mireval::seal::SealWindow::RememberedFolder(std::filesystem::current_path()));
  port.SetParent(&window);
  window.show();
  return app.exec();
}
