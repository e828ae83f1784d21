// mircheck's work: every file of a game folder read without playing it, and what an author should
// know about each line.
#pragma once

#include <filesystem>

#include "checker/findings.h"

namespace mireval::check {

Findings CheckGame(const std::filesystem::path& folder);

}  // namespace mireval::check
