// The game's web addresses, opened by the forum and site commands and named by the last hint.
#pragma once

namespace mireval {

inline constexpr const char* kForumAddress = "https://forum.mireval.example/";
inline constexpr const char* kSiteAddress = "https://mireval.example/";

}  // namespace mireval
