#include "bench_support.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>

#include "base/atomic_file.h"
#include "base/files.h"
#include "base/lines.h"
#include "script/game_files.h"

namespace fs = std::filesystem;

namespace mireval::bench {

namespace {
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from) {
  return std::chrono::duration<double>(Clock::now() - from).count();
}
}  // namespace

Folder::Folder() {
  fs::create_directories(work());
  fs::create_directories(game());
}

void Folder::Write(const std::string& name, const std::vector<std::string>& lines,
                   std::optional<CipherKind> scrambled) const {
  std::string text = scrambled ? Encrypt(lines, *scrambled) : JoinCrLf(lines);
  if (!WriteFileAtomically(game() / name, text)) std::abort();
}

BenchPlayer::BenchPlayer(const Folder& folder) : p(platform, folder.work()) {
  platform.Attach(p);
  SetGameFolder(p, folder.game());
}

std::size_t GetlineRead(const fs::path& file, std::size_t maxLines) {
  std::ifstream in(file, std::ios::binary);
  std::string line;
  std::size_t sum = 0, count = 0;
  bool scrambled = false;
  long i = 0;
  while (count < maxLines && std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (count++ == 0) {
      scrambled = MarkerKind(line).has_value();
      continue;
    }
    if (!scrambled) {
      sum += line.size();
    } else if (line == "\"0\"") {
      i = 0;
    } else {
      sum += static_cast<unsigned char>(std::strtol(line.c_str(), nullptr, 10) - ++i);
    }
  }
  return sum + count;
}

double RunAgainstBaseline(benchmark::State& state, const std::function<void()>& op,
                          const std::function<void()>& baseline,
                          const std::function<void()>& untimed) {
  double total = 0, baselineTotal = 0;
  for (auto _ : state) {
    auto start = Clock::now();
    op();
    const double s = Seconds(start);
    state.SetIterationTime(s);
    total += s;
    if (untimed) untimed();
    start = Clock::now();
    baseline();
    baselineTotal += Seconds(start);
  }
  const double iterations =
      static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
  state.counters["baseline_ms"] = baselineTotal / iterations * 1e3;
  state.counters["x_baseline"] = baselineTotal > 0 ? total / baselineTotal : 0;
  return total;
}

}  // namespace mireval::bench
