#include "base/line_reader.h"

#include <gtest/gtest.h>

#include <random>

#include "base/lines.h"
#include "support/test_game.h"

namespace fs = std::filesystem;

namespace mireval {
namespace {

// Text of short lines whose ends are CR LF, LF, CR or, at the very end, missing; empty lines and
// runs of line ends included.
std::string RandomText(std::mt19937& rng, std::size_t lines) {
  static const char* const kEnds[] = {"\r\n", "\n", "\r", "\r\r\n", "\n\r"};
  std::string text;
  for (std::size_t i = 0; i < lines; ++i) {
    const std::size_t length = rng() % 4 == 0 ? 0 : rng() % 12;
    for (std::size_t k = 0; k < length; ++k) text += static_cast<char>('a' + rng() % 26);
    if (i + 1 < lines || rng() % 2 == 0) text += kEnds[rng() % 5];
  }
  return text;
}

TEST(LineReader, SplitsInPiecesAndLinesExactlyAsTheWholeTextIsSplit) {
  TempDir dir;
  fs::path file = dir.path() / "room1.txt";
  std::mt19937 rng(7);
  for (int round = 0; round < 200; ++round) {
    const std::string text = RandomText(rng, rng() % 30);
    WriteRaw(file, text);
    const std::vector<std::string> expected = SplitLines(text);
    // Every line end falls on a chunk boundary for some chunk size, a CR LF split by one too.
    for (std::size_t chunk = 1; chunk <= 9; ++chunk) {
      LineReader pieces(file, chunk);
      std::vector<std::string> got;
      std::string line;
      bool open = false;
      std::string_view piece;
      bool ends = false;
      while (pieces.NextPiece(piece, ends)) {
        EXPECT_TRUE(ends || !piece.empty());
        EXPECT_LE(piece.size(), chunk);
        line += piece;
        open = !ends;
        if (ends) got.push_back(std::exchange(line, {}));
      }
      if (open) got.push_back(line);
      EXPECT_EQ(got, expected) << "chunk " << chunk << " text " << ::testing::PrintToString(text);

      LineReader lines(file, chunk);
      got.clear();
      std::string_view whole;
      while (lines.NextLine(whole)) got.emplace_back(whole);
      EXPECT_EQ(got, expected) << "chunk " << chunk;
      EXPECT_FALSE(lines.error());
    }
  }
}

}  // namespace
}  // namespace mireval
