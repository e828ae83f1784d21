// The whole state of a running game. Names follow the script format's own vocabulary.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "base/script_error.h"
#include "base/script_reader.h"
#include "base/variant.h"

namespace mireval {

constexpr int kMinCondition = -1;
constexpr int kMaxCondition = 10000;

// Numbered conditions -1..10000. Any other index is a script error of whoever uses it.
class Conditions {
 public:
  static bool InRange(long n) { return n >= kMinCondition && n <= kMaxCondition; }
  bool Get(long n) const { return v_[Index(n)]; }
  void Set(long n, bool value) { v_[Index(n)] = value; }
  bool operator==(const Conditions&) const = default;

 private:
  static std::size_t Index(long n) {
    if (!InRange(n)) throw ScriptError("condition number out of range: " + std::to_string(n));
    return static_cast<std::size_t>(n - kMinCondition);
  }
  std::array<bool, kMaxCondition - kMinCondition + 1> v_{};
};

constexpr int kSynonymSlots = 2000;
constexpr int kPictureSlots = 1000;

struct GameState {
  Conditions conditions;
  std::array<Variant, 3> character;       // [1] good points, [2] evil points
  std::array<Variant, 7> characterWords;  // [1..6] the character vocabulary
  Variant location;                       // 0 / empty: no game running
  Variant locationName;
  Variant moves;
  Variant gameTitle;
  std::string gameFolderText;  // the game folder as text, for messages; ends with a path separator
  // The game folder on this machine, as it was chosen (its name need not have a Windows-1251
  // form), and the same with every link followed: no game file is read from outside it.
  std::filesystem::path gameFolder;
  std::filesystem::path gameFolderReal;
  std::string line;   // the current script line of whatever reader ran last
  ScriptPlace place;  // where that line stands in the game's files, for error reports
  std::string commandLine;
  std::vector<std::string> synonyms = std::vector<std::string>(kSynonymSlots + 1);  // [1..2000]
  int synonymCount = 0;
  bool conditionsChanged = false;
  bool autoDialogue = false;
  std::vector<std::string> pictureFiles = std::vector<std::string>(kPictureSlots + 1);  // [1..1000]
  std::string musicFile;  // the music playing, as the game named it
};

}  // namespace mireval
