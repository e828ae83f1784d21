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

namespace mireval::seal {

constexpr int kSealExitUsage = 2;

// `args` excludes the program name. Returns the exit status: 0 when every file was processed or
// rightly skipped, 1 when some file failed or was refused (it is left as it was), 2 for a usage
// error (a message on `err`).
int SealCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace mireval::seal
