#include "checker/source_file.h"

#include <cstdio>

#include "base/cipher.h"
#include "base/files.h"
#include "base/lines.h"
#include "base/script_error.h"
#include "base/text.h"
#include "script/game_files.h"

namespace mireval::check {

namespace {

long LineOf(std::string_view bytes, std::size_t at) {
  long line = 1;
  for (std::size_t i = 0; i < at && i < bytes.size(); ++i) {
    if (bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n')))
      ++line;
  }
  return line;
}

std::string CodePointText(char32_t cp) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(cp));
  return buf;
}

// UTF-8 characters that the player can only show as "?": one finding for each line that has any.
void ReportUnmappable(const std::string& name, std::string_view bytes, Findings& findings) {
  long line = 1, reportedLine = 0;
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t at = i;
    const char32_t cp = detail::NextUtf8(bytes, i);
    if (cp == detail::kNoCharacter) i = at + 1;  // a broken sequence after a byte order mark
    if (cp == '\n' || (cp == '\r' && (i >= bytes.size() || bytes[i] != '\n'))) ++line;
    if (cp < 0x80 || cp == detail::kNoCharacter || cp == 0xFEFF || detail::Cp1251ByteFor(cp) >= 0)
      continue;
    if (line == reportedLine) continue;
    reportedLine = line;
    findings.Error(name, line, "no-cp1251-form",
                   "символ "_cp + CodePointText(cp) +
                       " нельзя записать в Windows-1251: игрок увидит вместо него «?»"_cp);
  }
}

// NUL and other control bytes: a text file holds none but tabs and line ends.
void ReportControlBytes(const std::string& name, std::string_view bytes, Findings& findings) {
  const std::size_t nul = bytes.find('\0');
  if (nul != std::string_view::npos) {
    findings.Error(name, LineOf(bytes, nul), "binary-file",
                   "в файле нулевой байт: это не текстовый файл, или он сохранен в UTF-16"_cp);
    return;
  }
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c >= 0x20 || c == '\t' || c == '\r' || c == '\n') continue;
    findings.Warning(name, LineOf(bytes, i), "control-character",
                     "в строке управляющий символ с кодом "_cp + std::to_string(c) +
                         ": в тексте игры его быть не должно"_cp);
    return;
  }
}

bool BeyondAscii(std::string_view bytes) {
  for (char c : bytes)
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  return false;
}

}  // namespace

std::optional<SourceFile> ReadSourceFile(const std::filesystem::path& folder, std::string_view name,
                                         Findings& findings) {
  const std::optional<std::filesystem::path> path = FindGameFile(folder, name);
  std::error_code ec;
  if (!path || !std::filesystem::is_regular_file(*path, ec)) return std::nullopt;
  std::optional<std::string> bytes = ReadWholeFile(*path);
  if (!bytes) return std::nullopt;

  SourceFile file;
  file.name = std::string(name);
  ReportControlBytes(file.name, *bytes, findings);
  if (IsUtf8Text(*bytes)) {
    file.encoding = Encoding::Utf8;
    ReportUnmappable(file.name, *bytes, findings);
  } else if (BeyondAscii(*bytes)) {
    file.encoding = Encoding::Cp1251;
  }
  const std::string text = DecodeGameFile(std::move(*bytes));
  std::size_t pos = 0;
  const std::string_view first = text.empty() ? std::string_view() : NextLine(text, pos);
  if (const std::optional<CipherKind> kind = MarkerKind(first)) {
    file.scrambled = true;
    try {
      file.lines = SplitLines(DecryptBody(std::string_view(text).substr(pos), *kind));
    } catch (const ScriptError& e) {
      findings.Error(
          file.name, 2, "scrambled-damaged",
          "зашифрованный файл поврежден, игрок не сможет его прочитать: "_cp + FromUtf8(e.what()));
      file.lines.clear();
    }
  } else {
    file.lines = SplitLines(text);
  }
  for (std::string& line : file.lines) StraightenDashes(line);
  return file;
}

}  // namespace mireval::check
