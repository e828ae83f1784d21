// The seal tool without a window, for authors' build scripts:
//   mirseal --encrypt [--strong] DIR        scrambles the location and list files of DIR
//   mirseal --encrypt-file [--strong] FILE  scrambles one location or list file
//   mirseal --decrypt DIR                   turns ordinarily scrambled files of DIR back into text
//   mirseal --decrypt-file FILE             turns one ordinarily scrambled file back into text
// One line per file on `out` (UTF-8), starting with what happened to it: "encrypted",
// "decrypted", "skipped" or "failed". --encrypt-file refuses, on `err`, a file the player never
// reads scrambled; --decrypt-file takes any name, so that such a file scrambled by mistake can be
// turned back.
#pragma once

#include <iosfwd>

#include <string>
#include <vector>
#include "base/command_line.h"

namespace mireval::seal {

constexpr int kSealExitUsage = kExitUsage;

constexpr ProgramUsage kSealUsage = {
    "mirseal",
    "mirseal [--encrypt [--strong] GAME_DIR | --encrypt-file [--strong] FILE |\n"
    "               --decrypt GAME_DIR | --decrypt-file FILE]",
    "Scrambles a game's location files (room*.txt) and list files (invent.txt, zadan.txt,\n"
    "hints.txt) so that players cannot read ahead; the player reads both forms alike. With no\n"
    "arguments its window opens; with them it works from the command line, one line per file.\n"
    "\n"
    "  --encrypt [--strong] GAME_DIR       scramble every plain location and list file\n"
    "  --encrypt-file [--strong] FILE      scramble one location or list file\n"
    "  --decrypt GAME_DIR                  unscramble the ordinarily scrambled files\n"
    "  --decrypt-file FILE                 unscramble one ordinarily scrambled file\n"
    "  --help                              this text\n"
    "  --version                           the program's version\n"
    "Strongly scrambled files (--strong) cannot be unscrambled: keep a copy of the plain ones.\n"
    "Exit status: 0 every file done or rightly skipped, 1 a file failed, 2 usage error.\n"
    "\n"
    "Example: mirseal --encrypt games/quest\n"};

// `args` excludes the program name. Returns the exit status: 0 when every file was processed or
// rightly skipped, 1 when some file failed or was refused (it is left as it was), 2 for a usage
// error (a message on `err`).
int SealCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace mireval::seal
