// A score pass over 500 score variables that turn True one after another: every pass changes one
// condition, fires its events and starts again (the restart chain). The baseline reads the files
// as the pass does, as often and as far, with a std::getline loop.
#include <string>
#include <vector>

#include "base/text.h"
#include "bench_support.h"
#include "interpreter/score.h"

namespace mireval::bench {
namespace {

constexpr int kVariables = 500;

// Condition k depends on condition k - 1, and the lines stand in reverse order, so each pass
// turns exactly one condition True: the one that the previous pass made possible.
std::vector<std::string> ChainRoom() {
  std::vector<std::string> lines = {"РН Цепочка"_cp, "ОП"_cp, "Текст."_cp, ""};
  for (int k = kVariables; k >= 2; --k)
    lines.push_back("ПС "_cp + std::to_string(k) + " = " + std::to_string(k - 1) + " > 0");
  lines.push_back("ПС 1 = 9999"_cp);  // no threshold: always True
  return lines;
}

void BM_ScorePass_RestartChain(benchmark::State& state) {
  Folder folder;
  const std::vector<std::string> room = ChainRoom();
  folder.Write("room1.txt", room);
  folder.Write("room0.txt", {"РН Общие"_cp});
  BenchPlayer b(folder);
  b.p.location = 1;
  const auto pass = [&] {
    for (int k = 1; k <= kVariables; ++k) b.p.conditions.Set(k, false);
    SettleScoreVariables(b.p);
  };

  const auto room1 = folder.game() / "room1.txt", room0 = folder.game() / "room0.txt";
  const std::size_t header = 4;  // lines before the first score variable
  RunAgainstBaseline(state, pass, [&] {
    std::size_t sum = 0;
    // Pass t stops at the line of condition t, then the events of t read both files.
    for (int t = 1; t <= kVariables; ++t) {
      sum += GetlineRead(room1, header + static_cast<std::size_t>(kVariables - t + 1));
      sum += GetlineRead(room1) + GetlineRead(room0);
    }
    // The last pass changes nothing; the word columns read both files once more.
    sum += GetlineRead(room1) + GetlineRead(room0) + GetlineRead(room1) + GetlineRead(room0);
    benchmark::DoNotOptimize(sum);
  });
  if (!b.p.conditions.Get(kVariables)) state.SkipWithError("the chain did not settle");
}

BENCHMARK(BM_ScorePass_RestartChain)->UseManualTime()->Unit(benchmark::kMillisecond);

// The long chain: 9,999 score variables written last to first, so that one command makes 9,999
// restarts, with the location file alone or followed by 100,000 filler lines (lines of other
// kinds that every reading must pass). The baseline reads both files once with std::getline.
void LongChain(benchmark::State& state, int filler) {
  constexpr int kLinks = 9999;
  Folder folder;
  std::vector<std::string> room = {"РН Цепочка"_cp, "ОП"_cp, "Текст."_cp, ""};
  for (int k = kLinks; k >= 2; --k)
    room.push_back("ПС "_cp + std::to_string(k) + " = " + std::to_string(k - 1) + " > 0");
  room.push_back("ПС 1 = 9999"_cp);
  for (int i = 0; i < filler; ++i) room.push_back("Строка описания номер "_cp + std::to_string(i));
  folder.Write("room1.txt", room);
  folder.Write("room0.txt", {"РН Общие"_cp});
  BenchPlayer b(folder);
  b.p.location = 1;
  const auto room1 = folder.game() / "room1.txt", room0 = folder.game() / "room0.txt";
  RunAgainstBaseline(
      state, [&] { SettleScoreVariables(b.p); },
      [&] { benchmark::DoNotOptimize(GetlineRead(room1) + GetlineRead(room0)); },
      [&] {
        if (!b.p.conditions.Get(kLinks)) state.SkipWithError("the chain did not settle");
        for (int k = 1; k <= kLinks; ++k) b.p.conditions.Set(k, false);
      });
}

void BM_ScorePass_Chain9999(benchmark::State& state) {
  LongChain(state, 0);
}
void BM_ScorePass_Chain9999_Filler100k(benchmark::State& state) {
  LongChain(state, 100000);
}

BENCHMARK(BM_ScorePass_Chain9999)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScorePass_Chain9999_Filler100k)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mireval::bench
