// Writes the seed corpora of the fuzz targets, made from the demo game, its walkthrough and the
// feature-rich game of the damaged-input tests:
//   make_fuzz_seeds OUT_DIR
// creates OUT_DIR/location, OUT_DIR/decoder, OUT_DIR/save and OUT_DIR/main_file.
#include <filesystem>
#include <iostream>
#include <map>
#include <string>

#include "app/save_load.h"
#include "base/cipher.h"
#include "base/files.h"
#include "base/lines.h"
#include "base/text.h"
#include "interpreter/main_file.h"
#include "model/player.h"
#include "support/base_game.h"
#include "support/test_game.h"

namespace fs = std::filesystem;
using namespace mireval;

namespace {

GameFiles ReadGame(const fs::path& dir) {
  GameFiles files;
  for (const auto& entry : fs::directory_iterator(dir))
    if (entry.is_regular_file())
      files[entry.path().filename().string()] = ReadWholeFile(entry.path()).value_or("");
  return files;
}

std::string Scrambled(const std::string& plain, CipherKind kind) {
  return Encrypt(SplitLines(plain), kind);
}

// The typed lines of a mirterm script (its "/" actions left out), in Windows-1251.
std::string TypedLines(const std::string& utf8Script) {
  std::string out;
  for (const std::string& line : SplitLines(utf8Script))
    if (line.empty() || line[0] != '/') out += FromUtf8(line) + "\n";
  return out;
}

void Seed(const fs::path& dir, const std::string& name, const std::string& bytes) {
  WriteRaw(dir / name, bytes);
}

void LocationSeeds(const fs::path& out, const GameFiles& game, const std::string& typed,
                   const std::string& prefix) {
  const std::string& common = game.at("room0.txt");
  for (const auto& [name, text] : game) {
    if (name.rfind("room", 0) != 0 || name == "room0.txt") continue;
    Seed(out, prefix + name, text + '\0' + common + '\0' + typed);
    Seed(out, prefix + "ordinary-" + name,
         Scrambled(text, CipherKind::Ordinary) + '\0' + Scrambled(common, CipherKind::Ordinary) +
             '\0' + typed);
    Seed(out, prefix + "strong-" + name,
         Scrambled(text, CipherKind::Strong) + '\0' + common + '\0' + typed);
  }
}

void DecoderSeeds(const fs::path& out, const GameFiles& game, const std::string& prefix) {
  for (const auto& [name, text] : game) {
    for (CipherKind kind : {CipherKind::Ordinary, CipherKind::Strong}) {
      std::string scrambled = Scrambled(text, kind);
      std::size_t pos = 0;
      NextLine(scrambled, pos);  // the decoder target reads the lines after the marker
      const char variant = kind == CipherKind::Strong ? '\1' : '\0';
      Seed(out, prefix + (kind == CipherKind::Strong ? "strong-" : "ordinary-") + name,
           variant + scrambled.substr(pos));
    }
  }
}

// Plays the game a little and keeps two saves.
void SaveSeeds(const fs::path& out, const GameFiles& game, const std::string& typed,
               const std::string& prefix) {
  TestPlayer t;
  for (const auto& [name, text] : game) WriteRaw(t.game() / name, text);
  t.UseGameDir();
  std::size_t pos = 0;
  t.platform.Enter();  // the first transition
  while (pos < typed.size()) t.platform.Enter(ToUtf8(NextLine(typed, pos)));
  try {
    NewGame(t.p);
    t.platform.inputAnswers = {"first"};
    SaveGame(t.p);
    while (t.platform.Pending() > 0) t.platform.PumpEvents();
  } catch (const ProgramEnded&) {
  } catch (const InputExhausted&) {
  }
  t.platform.inputAnswers = {"second"};
  SaveGame(t.p);
  for (const char* name : {"first.sav", "second.sav"})
    if (auto data = ReadWholeFile(t.game() / name)) Seed(out, prefix + name, *data);
}

// The shapes that once made one command slow or one message huge, small enough for the fuzzers'
// length limit: a chain of score variables written last to first (every pass turns one more True
// and starts again), a typed line of blanks, and a long line that ends in a script error.
void ShapeSeeds(const fs::path& out) {
  const std::string common = "РН Общие\r\n"_cp;
  std::string chain = "РН Цепочка\r\nОП\r\nТекст.\r\n\r\n"_cp;
  for (int k = 600; k >= 2; --k)
    chain += "ПС "_cp + std::to_string(k) + " = " + std::to_string(k - 1) + " > 0\r\n";
  chain += "ПС 1 = 1\r\nСОБ 600 Готово.\r\n"_cp;
  Seed(out / "location", "shape-score-chain", chain + '\0' + common + '\0' + "осмотреться\n"_cp);
  const std::string room = "РН x\r\nОП\r\nТекст.\r\n\r\nТ ВЗЯТЬ\r\nвзято\r\n"_cp;
  Seed(out / "location", "shape-typed-blanks",
       room + '\0' + common + '\0' + std::string(8000, ' ') + "\n");
  std::string bad = "ПС "_cp;
  while (bad.size() < 6000) bad += "абвгд"_cp;
  Seed(out / "location", "shape-long-bad-line",
       room + bad + "\r\n" + '\0' + common + '\0' + "взять\n"_cp);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_fuzz_seeds OUT_DIR\n";
    return 2;
  }
  const fs::path out = argv[1];
  const GameFiles demo = ReadGame(DEMO_GAME_DIR);
  const GameFiles base = BaseGame();
  const std::string demoTyped = TypedLines(ReadWholeFile(WALKTHROUGH_FILE).value_or(""));
  const std::string baseTyped = TypedLines(kBaseGameScriptUtf8);

  LocationSeeds(out / "location", demo, demoTyped, "demo-");
  LocationSeeds(out / "location", base, baseTyped, "base-");
  DecoderSeeds(out / "decoder", demo, "demo-");
  DecoderSeeds(out / "decoder", base, "base-");
  SaveSeeds(out / "save", demo, demoTyped, "demo-");
  SaveSeeds(out / "save", base, baseTyped, "base-");
  ShapeSeeds(out);
  Seed(out / "main_file", "demo-main.txt", demo.at("main.txt"));
  Seed(out / "main_file", "base-main.txt", base.at("main.txt"));
  return 0;
}
