// The file operations of the seal tool: which files of a game folder it works on, and scrambling
// and unscrambling them in place. No window here: the desktop window and the command line both
// call these.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "base/cipher.h"
#include "base/text.h"

namespace mireval::seal {

// The files the tool offers: location files and the three list files the player unscrambles.
// Matched case-insensitively, as the folders are authored on case-insensitive file systems.
bool IsSealFileName(std::string_view fileName);

// The files the player reads scrambled: room<N>.txt (room0.txt included), invent.txt, zadan.txt
// and hints.txt, in any letter case. Anything else scrambled (main.txt, a picture) can no longer
// be read by the player, so a single file is scrambled only when it is one of these. Narrower
// than IsSealFileName, whose pattern lets through names like "Room.txt".
bool IsScrambledByThePlayer(std::string_view fileName);

// Names (as stored on disk) of the regular files of `dir` that IsSealFileName accepts, sorted by
// name so that every run processes them in the same order. A folder that cannot be read gives
// an empty list.
std::vector<std::string> SealFileNames(const std::filesystem::path& dir);

enum class SealOutcome {
  Encrypted,         // scrambled now
  AlreadyEncrypted,  // began with a marker line; left alone
  Decrypted,         // ordinarily scrambled, turned back into text
  NotDecrypted,      // plain or strongly scrambled; left alone
  Failed,            // left exactly as it was; see SealProblem
};

enum class SealProblem {
  None,
  CannotRead,
  CannotWrite,
  Damaged,
  OutOfMemory,
  // A UTF-8 file holds a character that Windows-1251, the scrambled form's code page, lacks (or,
  // after a byte order mark, a byte that begins no character): scrambled, it would read as "?".
  LostCharacter,
};

struct SealResult {
  std::filesystem::path file;
  SealOutcome outcome = SealOutcome::Failed;
  SealProblem problem = SealProblem::None;
  std::string detail;     // for Damaged: what is wrong, Windows-1251
  std::error_code error;  // for CannotRead and CannotWrite: why
  // For LostCharacter: the first such character, with the number of its line (from 1) and its
  // bytes as the file holds them.
  std::size_t line = 0;
  Utf8Loss lost;
  std::string lostBytes;
};

// Scrambles one plain file in place, in Windows-1251 as the format stores it. A file the player
// reads as UTF-8 (IsUtf8Text) is scrambled as the Windows-1251 text it reads, unless a character
// would be lost on the way (LostCharacter). The file is read a line at a time and written a
// piece at a time, so its size does not matter, only that of its longest line; the new text goes
// to a temporary file beside it that replaces the file only when complete (see
// engine/atomic_file.h: links, mode bits, read-only files), so a failure leaves the file as it was.
// Every plain line, including an unterminated last one, becomes one scrambled line. The caller has
// checked that the file is not scrambled already.
//
// These operations never throw: running out of memory fails the one file (OutOfMemory), so that
// a folder goes on with the next.
SealResult ScrambleFile(const std::filesystem::path& file, CipherKind kind);

// Scrambles the file unless its first line is a marker line (either kind).
SealResult EncryptFile(const std::filesystem::path& file, CipherKind kind);

// Turns an ordinarily scrambled file back into text, every line ended by CR LF. Plain files and
// strongly scrambled ones (which cannot be turned back by design) are left alone. A damaged file
// (a line that is not a number, a code outside 0..255, a last line without its closing "0" line)
// is left unchanged and reported.
SealResult DecryptFile(const std::filesystem::path& file);

// The same over the named files of a folder, in the given order. A failure on one file does not
// stop the others.
std::vector<SealResult> EncryptFiles(const std::filesystem::path& dir,
                                     const std::vector<std::string>& names, CipherKind kind);
std::vector<SealResult> DecryptFiles(const std::filesystem::path& dir,
                                     const std::vector<std::string>& names);

bool AnyFailed(const std::vector<SealResult>& results);

}  // namespace mireval::seal
