// The output writer: 100,000 lines appended to the story area and handed to WriteStoryLine, then
// StoryTail, with no pause (the page counter is reset as a pause would). One line in ten is a
// directive that is cut back out. The baseline appends the same lines to a string trimmed the same
// way.
#include <string>
#include <vector>

#include "base/text.h"
#include "bench_support.h"
#include "view/output.h"

namespace mireval::bench {
namespace {

constexpr int kLines = 100000;

std::vector<std::string> Lines() {
  std::vector<std::string> lines;
  for (int k = 0; k < kLines; ++k) {
    if (k % 20 == 9)
      lines.push_back("НС"_cp);
    else if (k % 20 == 19)
      lines.push_back("ПС 12 = 3 + 4 > 1"_cp);
    else
      lines.push_back("Строка повествования номер "_cp + std::to_string(k) +
                      ": ветер гонит по небу рваные облака."_cp);
  }
  return lines;
}

void BM_Output_WriteStoryLine_StoryTail(benchmark::State& state) {
  Folder folder;
  BenchPlayer b(folder);
  const std::vector<std::string> lines = Lines();
  const auto write = [&] {
    for (const std::string& line : lines) {
      b.p.story.Append(line + "\r\n");
      WriteStoryLine(b.p, line);
      StoryTail(b.p);
      b.p.charactersSincePause = 0;
    }
  };
  const double total = RunAgainstBaseline(state, write, [&] {
    std::string story;
    for (const std::string& line : lines) {
      story += line;
      story += "\r\n";
      if (story.size() > kStoryLimit) story.erase(0, kStoryKeepFrom - 1);
    }
    benchmark::DoNotOptimize(story);
  });
  state.counters["lines_per_s"] = static_cast<double>(kLines) *
                                  static_cast<double>(state.iterations()) / (total > 0 ? total : 1);
}

BENCHMARK(BM_Output_WriteStoryLine_StoryTail)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mireval::bench
