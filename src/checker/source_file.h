// A game's text file as the checker reads it: every line as the player's readers see it, read
// once, so that each check walks memory.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "checker/findings.h"

namespace mireval::check {

// Whether a text file of the game holds letters beyond ASCII, and in which code.
enum class Encoding { Ascii, Cp1251, Utf8 };

struct SourceFile {
  std::string name;                // as the game writes it (room3.txt)
  std::vector<std::string> lines;  // Windows-1251, dashes straightened; a scrambled file decoded
  Encoding encoding = Encoding::Ascii;
  bool scrambled = false;

  long LineCount() const { return static_cast<long>(lines.size()); }
};

// Reads a file of the game folder as the player would; nothing when the folder has no such file.
// Bytes that are no text, characters that Windows-1251 cannot hold and a damaged scrambled body are
// reported into `findings`.
std::optional<SourceFile> ReadSourceFile(const std::filesystem::path& folder, std::string_view name,
                                         Findings& findings);

}  // namespace mireval::check
