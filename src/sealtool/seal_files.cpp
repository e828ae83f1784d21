#include "sealtool/seal_files.h"

#include <algorithm>
#include <optional>
#include <system_error>

#include "engine/files.h"
#include "engine/lines.h"
#include "engine/script_error.h"
#include "engine/text.h"

namespace fs = std::filesystem;

namespace mireval::seal {

namespace {

const std::string kEndOfLine = "\"0\"";

std::string_view FirstLine(std::string_view data) {
  std::size_t pos = 0;
  return data.empty() ? std::string_view() : NextLine(data, pos);
}

// The last line of a text, not counting a final line end.
std::string_view LastLine(std::string_view data) {
  std::size_t end = data.size();
  if (end >= 2 && data[end - 2] == '\r' && data[end - 1] == '\n')
    end -= 2;
  else if (end >= 1 && (data[end - 1] == '\r' || data[end - 1] == '\n'))
    end -= 1;
  std::size_t lineEnd = end == 0 ? std::string_view::npos : data.find_last_of("\r\n", end - 1);
  std::size_t start = lineEnd == std::string_view::npos ? 0 : lineEnd + 1;
  return data.substr(start, end - start);
}

SealResult Result(const fs::path& file, SealOutcome outcome,
                  SealProblem problem = SealProblem::None, std::string detail = {}) {
  return {file, outcome, problem, std::move(detail)};
}

SealResult Write(const fs::path& file, std::string_view text, SealOutcome done) {
  if (!WriteFileAtomically(file, text))
    return Result(file, SealOutcome::Failed, SealProblem::CannotWrite);
  return Result(file, done);
}

SealResult EncryptText(const fs::path& file, std::string_view plain, CipherKind kind) {
  return Write(file, Encrypt(SplitLines(plain), kind), SealOutcome::Encrypted);
}

}  // namespace

// The pattern list "Room*.txt;Invent.txt;Zadan.txt;Hints.txt", compared upper-cased.
bool IsSealFileName(std::string_view fileName) {
  std::string name = Upper(FromUtf8(fileName));
  if (name == "INVENT.TXT" || name == "ZADAN.TXT" || name == "HINTS.TXT") return true;
  return name.size() >= 8 && StartsWith(name, "ROOM") &&
         name.compare(name.size() - 4, 4, ".TXT") == 0;
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

SealResult ShifrFile(const fs::path& file, CipherKind kind) {
  std::optional<std::string> data = ReadWholeFile(file);
  if (!data) return Result(file, SealOutcome::Failed, SealProblem::CannotRead);
  return EncryptText(file, *data, kind);
}

SealResult EncryptFile(const fs::path& file, CipherKind kind) {
  std::optional<std::string> data = ReadWholeFile(file);
  if (!data) return Result(file, SealOutcome::Failed, SealProblem::CannotRead);
  if (MarkerKind(FirstLine(*data))) return Result(file, SealOutcome::AlreadyEncrypted);
  return EncryptText(file, *data, kind);
}

SealResult DecryptFile(const fs::path& file) {
  std::optional<std::string> data = ReadWholeFile(file);
  if (!data) return Result(file, SealOutcome::Failed, SealProblem::CannotRead);
  std::string_view text = *data;
  std::size_t pos = 0;
  if (text.empty() || MarkerKind(NextLine(text, pos)) != CipherKind::Ordinary)
    return Result(file, SealOutcome::NotDecrypted);
  std::string_view body = text.substr(pos);
  // The tool always closes the last line; a file that ends inside a line has lost its end, and
  // turning it back would silently drop what is left of that line.
  if (!body.empty() && LastLine(body) != kEndOfLine)
    return Result(file, SealOutcome::Failed, SealProblem::Damaged, "the last line is not closed");
  std::string plain;
  try {
    plain = DecryptBody(body, CipherKind::Ordinary);
  } catch (const ScriptError& e) {
    return Result(file, SealOutcome::Failed, SealProblem::Damaged, e.what());
  }
  return Write(file, plain, SealOutcome::Decrypted);
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
