// mirseal: scrambles the location and list files of a game folder. With no arguments it opens its
// window on the current folder; with arguments it works from the command line (no display needed).
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include <QApplication>

#include "frontends/qt/seal/form1.h"
#include "frontends/qt/seal/qt_seal_port.h"
#include "sealtool/command_line.h"

int main(int argc, char** argv) {
  if (argc > 1) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return mireval::seal::SealCommandLine(args, std::cout, std::cerr);
  }
  QApplication app(argc, argv);
  mireval::seal::QtSealPort port;
  mireval::seal::Form1 window(port, std::filesystem::current_path());
  port.SetParent(&window);
  window.show();
  return app.exec();
}
