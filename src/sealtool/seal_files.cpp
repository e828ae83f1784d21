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
  SealResult r;
  r.file = file;
  r.outcome = outcome;
  r.problem = problem;
  r.detail = std::move(detail);
  r.error = error;
  return r;
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

template <class Reader>
FirstLine ReadFirstLine(Reader& in) {
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

// How the player reads a file: as Windows-1251, or as UTF-8 converted to it; and for a UTF-8
// file, the first character that converting it would lose.
struct TextCoding {
  bool utf8 = false;
  std::optional<Utf8Loss> lost;
  std::size_t lostLine = 0;  // from 1
  std::string lostBytes;
};

// IsUtf8Text and the losses of DecodeGameFile found a line at a time, as the file may be larger
// than memory: no UTF-8 character spans a line end, so the file is valid UTF-8 exactly when each
// of its lines is. A Windows-1251 file gives itself away at its first letter beyond ASCII.
TextCoding CodingOf(LineReader& in) {
  TextCoding coding;
  bool marked = false, beyondAscii = false;
  std::string_view line;
  for (std::size_t number = 1; in.NextLine(line); ++number) {
    if (number == 1 && StartsWith(line, kUtf8ByteOrderMark)) {
      marked = true;
      line.remove_prefix(kUtf8ByteOrderMark.size());
    }
    for (std::size_t at = 0; at < line.size();) {
      std::optional<Utf8Loss> loss = FindUtf8Loss(line.substr(at));
      if (!loss) break;
      // Without the mark, bytes that are no UTF-8 make the whole file Windows-1251.
      if (loss->character == kBrokenUtf8 && !marked) return {};
      loss->offset += at;
      if (!coding.lost) {
        coding.lost = loss;
        coding.lostLine = number;
        coding.lostBytes = line.substr(loss->offset, loss->size);
      }
      // With the mark the file is UTF-8 whatever follows: the first loss is all there is to know.
      if (marked) {
        coding.utf8 = true;
        return coding;
      }
      at = loss->offset + loss->size;
    }
    beyondAscii = beyondAscii || std::any_of(line.begin(), line.end(), [](char c) {
                    return static_cast<unsigned char>(c) >= 0x80;
                  });
  }
  coding.utf8 = marked || beyondAscii;
  return coding;
}

// The text of a file as the player reads it, a piece at a time as LineReader gives it: a
// Windows-1251 file's pieces as they are, a UTF-8 file's lines whole and converted by
// DecodeGameFile (a character never spans a line end, and the first line's byte order mark goes
// with the first line). The caller has checked that converting loses nothing.
class PlayerText {
 public:
  PlayerText(LineReader& in, bool utf8) : in_(in), utf8_(utf8) {}

  bool NextPiece(std::string_view& piece, bool& lineEnds) {
    if (!utf8_) return in_.NextPiece(piece, lineEnds);
    std::string bytes;
    std::string_view part;
    bool any = false;
    lineEnds = false;
    while (!lineEnds && in_.NextPiece(part, lineEnds)) {
      bytes += part;
      any = true;
    }
    if (!any) return false;
    line_ = DecodeGameFile(std::move(bytes));
    // A file of nothing but the byte order mark holds no line at all.
    if (line_.empty() && !lineEnds) return false;
    piece = line_;
    return true;
  }

 private:
  LineReader& in_;
  bool utf8_;
  std::string line_;
};

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
  TextCoding coding;
  {
    LineReader in(file);
    if (in.error()) return Failed(file, SealProblem::CannotRead, in.error());
    coding = CodingOf(in);
    if (in.error()) return Failed(file, SealProblem::CannotRead, in.error());
  }
  if (coding.lost) {
    SealResult lost = Result(file, SealOutcome::Failed, SealProblem::LostCharacter);
    lost.line = coding.lostLine;
    lost.lost = *coding.lost;
    lost.lostBytes = std::move(coding.lostBytes);
    return lost;
  }

  LineReader in(file);
  if (in.error()) return Failed(file, SealProblem::CannotRead, in.error());
  PlayerText plain(in, coding.utf8);
  FirstLine first = ReadFirstLine(plain);
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
  while (first.more && plain.NextPiece(piece, ends)) take(piece, ends);
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
