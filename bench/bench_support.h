// Shared by the benchmarks: generated game folders, the getline baseline every result is printed
// beside, and the reporting of that baseline.
#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/cipher.h"
#include "model/player.h"
#include "support/scripted_platform.h"
#include "support/test_game.h"

namespace mireval::bench {

// A folder under the system's temp folder with "work" and "game" inside, removed with the object.
class Folder {
 public:
  Folder();
  std::filesystem::path work() const { return root_.path() / "work"; }
  std::filesystem::path game() const { return root_.path() / "game"; }
  // Writes the plain lines (Windows-1251) as the file, scrambled when asked.
  void Write(const std::string& name, const std::vector<std::string>& lines,
             std::optional<CipherKind> scrambled = std::nullopt) const;

 private:
  TempDir root_;
};

// A player on the scripted platform with its game folder set; waits are not expected.
struct BenchPlayer {
  explicit BenchPlayer(const Folder& folder);
  ScriptedPlatform platform;
  Player p;
};

// The baseline: reads a file line by line with std::getline, as a reader without the whole-file
// buffer would, stopping after `maxLines` lines. When the first line is a marker, the number lines
// are decoded to characters with strtol. Returns a checksum so that nothing is optimised away.
std::size_t GetlineRead(const std::filesystem::path& file, std::size_t maxLines = SIZE_MAX);

// The benchmark loop. Every iteration times `op`, which is the result (reported as manual
// time), runs `untimed` (to restore what `op` changed), and times `baseline`, so that the two are
// measured side by side under the same load. Prints "baseline_ms", the baseline's mean time, and
// "x_baseline", the result divided by it. Returns the result's total seconds.
double RunAgainstBaseline(benchmark::State& state, const std::function<void()>& op,
                          const std::function<void()>& baseline,
                          const std::function<void()>& untimed = {});

}  // namespace mireval::bench
