// The seal tool on a 10 MB game folder (ten location files of 1 MB of plain text): scrambling
// the folder and turning it back. The baseline reads the folder's files with a std::getline loop
// (decoding the number lines with strtol when they are scrambled).
#include <string>
#include <vector>

#include "base/text.h"
#include "bench_support.h"
#include "sealtool/seal_files.h"

namespace mireval::bench {
namespace {

constexpr int kFiles = 10;
constexpr std::size_t kFileBytes = 1 << 20;

struct SealFolder {
  SealFolder() {
    std::vector<std::string> lines;
    std::size_t bytes = 0;
    for (int k = 0; bytes < kFileBytes; ++k) {
      lines.push_back("Строка "_cp + std::to_string(k) +
                      ": над холмом чернеет силуэт старой мельницы, и ветер гонит листья."_cp);
      bytes += lines.back().size() + 2;
    }
    plainBytes = bytes * kFiles;
    for (int f = 1; f <= kFiles; ++f) {
      names.push_back("room" + std::to_string(f) + ".txt");
      folder.Write(names.back(), lines);
    }
  }
  void ReadAll() const {
    std::size_t sum = 0;
    for (const std::string& name : names) sum += GetlineRead(folder.game() / name);
    benchmark::DoNotOptimize(sum);
  }
  Folder folder;
  std::vector<std::string> names;
  std::size_t plainBytes = 0;
};

void ReportSpeed(benchmark::State& state, const SealFolder& f, double total) {
  state.counters["plain_MB_per_s"] = static_cast<double>(f.plainBytes) / 1e6 *
                                     static_cast<double>(state.iterations()) /
                                     (total > 0 ? total : 1);
}

void BM_Seal_EncryptFolder10MB(benchmark::State& state) {
  SealFolder f;
  const double total = RunAgainstBaseline(
      state,
      [&] {
        if (seal::AnyFailed(seal::EncryptFiles(f.folder.game(), f.names, CipherKind::Ordinary)))
          state.SkipWithError("encryption failed");
      },
      [&] { f.ReadAll(); },  // the plain folder
      [&] { seal::DecryptFiles(f.folder.game(), f.names); });
  ReportSpeed(state, f, total);
}

void BM_Seal_DecryptFolder10MB(benchmark::State& state) {
  SealFolder f;
  seal::EncryptFiles(f.folder.game(), f.names, CipherKind::Ordinary);
  const double total = RunAgainstBaseline(
      state,
      [&] {
        if (seal::AnyFailed(seal::DecryptFiles(f.folder.game(), f.names)))
          state.SkipWithError("decryption failed");
      },
      [&] { f.ReadAll(); },  // the scrambled folder
      [&] { seal::EncryptFiles(f.folder.game(), f.names, CipherKind::Ordinary); });
  ReportSpeed(state, f, total);
}

BENCHMARK(BM_Seal_EncryptFolder10MB)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Seal_DecryptFolder10MB)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mireval::bench
