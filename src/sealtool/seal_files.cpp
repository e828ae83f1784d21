#include "sealtool/seal_files.h"

#include <algorithm>
#include <new>
#include <optional>
#include <system_error>

#include "base/atomic_file.h"
#include "base/line_reader.h"
#include "base/script_error.h"
#include "base/text.h"
#include "base/vocabulary.h"

namespace fs = std::filesystem;

namespace mireval::seal {

namespace {

// Scrambled text is handed to the file in pieces of about this size.
constexpr std::size_t kWriteBytes = 64 * 1024;

SealResult Result(const fs::path& file, SealOutcome outcome,
                  SealProblem problem = SealProblem::None, std::string detail = {},
                  std::error_code error = {}) {
  return {file, outcome, problem, std::move(detail), error};
}

SealResult Failed(const fs::path& file, SealProblem problem, std::error_code error) {
  return Result(file, SealOutcome::Failed, problem, {}, error);
}

// The start of a file's first line, read only as far as a marker line reaches: enough to tell
// whether the file is scrambled, without holding a long first line.
struct FirstLine {
  std::string text;
  bool ends = false;  // the line end was read
  bool more = true;   // the file goes on after `text`
  // The whole first line is known (it ended, or the file did).
  bool Whole() const { return ends || !more; }
};

FirstLine ReadFirstLine(LineReader& in) {
  static const std::size_t longestMarker =
      std::max(MarkerLine(CipherKind::Ordinary).size(), MarkerLine(CipherKind::Strong).size());
  FirstLine first;
  std::string_view piece;
  while (!first.ends && first.text.size() <= longestMarker) {
    if (!in.NextPiece(piece, first.ends)) {
      first.more = false;
      break;
    }
    first.text += piece;
  }
  return first;
}

// A per-file operation whose running out of memory fails only that file: whatever it held is
// released on the way out, and its temporary file is removed.
template <class Operation>
SealResult OneFile(const fs::path& file, Operation&& operation) {
  try {
    return operation();
  } catch (const std::bad_alloc&) {
    return Result(file, SealOutcome::Failed, SealProblem::OutOfMemory);
  }
}

SealResult Scramble(const fs::path& file, CipherKind kind, bool skipScrambled) {
  LineReader in(file);
  if (in.error()) return Failed(file, SealProblem::CannotRead, in.error());
  FirstLine first = ReadFirstLine(in);
  if (in.error()) return Failed(file, SealProblem::CannotRead, in.error());
  if (skipScrambled && first.Whole() && MarkerKind(first.text))
    return Result(file, SealOutcome::AlreadyEncrypted);

  AtomicFileWriter out(file);
  if (out.error()) return Failed(file, SealProblem::CannotWrite, out.error());
  std::string text = MarkerLine(kind) + "\r\n";
  text.reserve(kWriteBytes * 8);
  Encoder encoder(kind);
  bool inLine = false;  // characters of a plain line written, its end not yet
  auto take = [&](std::string_view piece, bool ends) {
    encoder.Characters(piece, text);
    inLine = !ends;
    if (ends) encoder.EndLine(text);
    if (text.size() >= kWriteBytes) {
      out.Write(text);
      text.clear();
    }
  };
  if (!first.text.empty() || first.ends) take(first.text, first.ends);
  std::string_view piece;
  bool ends = false;
  while (first.more && in.NextPiece(piece, ends)) take(piece, ends);
  if (in.error()) return Failed(file, SealProblem::CannotRead, in.error());
  if (inLine) encoder.EndLine(text);  // a last line without its line end is a line all the same
  out.Write(text);
  if (std::error_code ec = out.Commit()) return Failed(file, SealProblem::CannotWrite, ec);
  return Result(file, SealOutcome::Encrypted);
}

SealResult Unscramble(const fs::path& file) {
  LineReader in(file);
  if (in.error()) return Failed(file, SealProblem::CannotRead, in.error());
  FirstLine first = ReadFirstLine(in);
  if (in.error()) return Failed(file, SealProblem::CannotRead, in.error());
  if (!first.Whole() || MarkerKind(first.text) != CipherKind::Ordinary)
    return Result(file, SealOutcome::NotDecrypted);

  AtomicFileWriter out(file);
  if (out.error()) return Failed(file, SealProblem::CannotWrite, out.error());
  std::string text;
  text.reserve(kWriteBytes * 2);
  Decoder decoder(CipherKind::Ordinary);
  std::string_view line;
  try {
    while (in.NextLine(line)) {
      decoder.Line(line, text);
      if (text.size() >= kWriteBytes) {
        out.Write(text);
        text.clear();
      }
    }
  } catch (const ScriptError& e) {
    return Result(file, SealOutcome::Failed, SealProblem::Damaged, e.what());
  }
  if (in.error()) return Failed(file, SealProblem::CannotRead, in.error());
  // The tool always closes the last line; a file that ends inside a line has lost its end, and
  // turning it back would silently drop what is left of that line.
  if (!decoder.AtLineEnd())
    return Result(file, SealOutcome::Failed, SealProblem::Damaged, "the last line is not closed");
  out.Write(text);
  if (std::error_code ec = out.Commit()) return Failed(file, SealProblem::CannotWrite, ec);
  return Result(file, SealOutcome::Decrypted);
}

}  // namespace

// The pattern list "Room*.txt;Invent.txt;Zadan.txt;Hints.txt", compared upper-cased.
bool IsSealFileName(std::string_view fileName) {
  const std::string name = Upper(FromUtf8(fileName));
  for (std::string_view list : {words::kInventoryFile, words::kTasksFile, words::kHintsFile})
    if (name == Upper(list)) return true;
  const std::string prefix = Upper(words::kLocationFilePrefix),
                    suffix = Upper(words::kTextFileSuffix);
  return name.size() >= prefix.size() + suffix.size() && StartsWith(name, prefix) &&
         name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool IsScrambledByThePlayer(std::string_view fileName) {
  if (!IsSealFileName(fileName)) return false;
  const std::string name = Upper(FromUtf8(fileName));
  const std::size_t prefix = words::kLocationFilePrefix.size(),
                    suffix = words::kTextFileSuffix.size();
  if (!StartsWith(name, Upper(words::kLocationFilePrefix))) return true;  // one of the list files
  std::string_view number = std::string_view(name).substr(prefix, name.size() - prefix - suffix);
  return !number.empty() && number.find_first_not_of("0123456789") == std::string_view::npos;
}

std::vector<std::string> SealFileNames(const fs::path& dir) {
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code typeEc;
    if (!it->is_regular_file(typeEc)) continue;
    std::string name = it->path().filename().string();
    if (IsSealFileName(name)) names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end());
  return names;
}

SealResult ScrambleFile(const fs::path& file, CipherKind kind) {
  return OneFile(file, [&] { return Scramble(file, kind, false); });
}

SealResult EncryptFile(const fs::path& file, CipherKind kind) {
  return OneFile(file, [&] { return Scramble(file, kind, true); });
}

SealResult DecryptFile(const fs::path& file) {
  return OneFile(file, [&] { return Unscramble(file); });
}

std::vector<SealResult> EncryptFiles(const fs::path& dir, const std::vector<std::string>& names,
                                     CipherKind kind) {
  std::vector<SealResult> results;
  for (const std::string& name : names) results.push_back(EncryptFile(dir / name, kind));
  return results;
}

std::vector<SealResult> DecryptFiles(const fs::path& dir, const std::vector<std::string>& names) {
  std::vector<SealResult> results;
  for (const std::string& name : names) results.push_back(DecryptFile(dir / name));
  return results;
}

bool AnyFailed(const std::vector<SealResult>& results) {
  return std::any_of(results.begin(), results.end(),
                     [](const SealResult& r) { return r.outcome == SealOutcome::Failed; });
}

}  // namespace mireval::seal
