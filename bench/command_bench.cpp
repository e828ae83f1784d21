// One typed command on a location whose file and room0.txt hold 1,000 command entries each
// (about 100 KB apiece), plain and ordinarily scrambled: a command nothing matches (both files
// scanned whole) and one whose entry wins in room0.txt (both scanned, then read again to the
// winner). The baseline reads the same files, as often and as far as the command must, with a
// std::getline loop.
#include <string>
#include <vector>

#include "base/text.h"
#include "bench_support.h"
#include "interpreter/typed_command.h"

namespace mireval::bench {
namespace {

constexpr int kEntries = 1000;

const char* const kVerbs[] = {"ОСМОТРЕТЬ", "ВЗЯТЬ",   "ОТКРЫТЬ",  "ЗАКРЫТЬ",   "ПОТРОГАТЬ",
                              "ПОНЮХАТЬ",  "СЛОМАТЬ", "ПОЧИНИТЬ", "ПОВЕРНУТЬ", "ПОДНЯТЬ"};

// Entries of one file: "Т <verb> <thing><k>", a conditions line, a reply and a condition set.
std::vector<std::string> Entries(const std::string& header, const std::string& thing) {
  std::vector<std::string> lines = {FromUtf8(header), "ОП"_cp, "Комната, полная вещей."_cp, ""};
  for (int k = 0; k < kEntries; ++k) {
    const std::string number = std::to_string(k);
    lines.push_back("Т "_cp + FromUtf8(kVerbs[k % 10]) + " " + FromUtf8(thing) + number);
    lines.push_back("Л 5 -6"_cp);
    lines.push_back("Вы внимательно разглядываете предмет номер "_cp + number +
                    ", но ничего особенного не видите."_cp);
    lines.push_back("Д 7"_cp);
    lines.push_back("");
  }
  return lines;
}

struct CommandGame {
  explicit CommandGame(bool scrambled) {
    std::optional<CipherKind> kind;
    if (scrambled) kind = CipherKind::Ordinary;
    folder.Write("room1.txt", Entries("РН Склад", "ПРЕДМЕТ"), kind);
    folder.Write("room0.txt", Entries("РН Общие", "ВЕЩЬ"), kind);
  }
  Folder folder;
};

// The last entry of room0.txt, so that the winner is read up to the end of both files again.
const std::string kWinning = "поднять вещь999";
const std::string kRefused = "прыгнуть через забор";

void RunCommand(benchmark::State& state, bool scrambled, const std::string& typedUtf8) {
  CommandGame game(scrambled);
  BenchPlayer b(game.folder);
  b.p.location = 1;
  b.p.locationName = "Склад"_cp;
  b.p.conditions.Set(5, true);
  const std::string typed = FromUtf8(typedUtf8);
  const auto command = [&] {
    b.p.input.SetText(typed);
    ExecuteTypedCommand(b.p);
  };
  command();  // the winner sets condition 7 once; from then on every run is the same

  const auto room1 = game.folder.game() / "room1.txt", room0 = game.folder.game() / "room0.txt";
  const bool wins = typedUtf8 == kWinning;
  RunAgainstBaseline(state, command, [&] {
    std::size_t sum = GetlineRead(room1) + GetlineRead(room0);
    if (wins) sum += GetlineRead(room1) + GetlineRead(room0);
    benchmark::DoNotOptimize(sum);
  });
}

void BM_TypedCommand_Refused_Plain(benchmark::State& s) {
  RunCommand(s, false, kRefused);
}
void BM_TypedCommand_Refused_Scrambled(benchmark::State& s) {
  RunCommand(s, true, kRefused);
}
void BM_TypedCommand_WinsInRoom0_Plain(benchmark::State& s) {
  RunCommand(s, false, kWinning);
}
void BM_TypedCommand_WinsInRoom0_Scrambled(benchmark::State& s) {
  RunCommand(s, true, kWinning);
}

// A typed line of a million blanks: logged, tidied to half a million, offered to every entry and
// refused. The baseline reads both files once, as a refused command must.
void BM_TypedCommand_MillionBlanks(benchmark::State& s) {
  RunCommand(s, false, std::string(1000000, ' '));
}

BENCHMARK(BM_TypedCommand_Refused_Plain)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TypedCommand_Refused_Scrambled)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TypedCommand_WinsInRoom0_Plain)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TypedCommand_WinsInRoom0_Scrambled)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TypedCommand_MillionBlanks)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mireval::bench
