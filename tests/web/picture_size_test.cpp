// The picture header reader of the web player, run under node (scripts/web.sh build makes it):
// the sizes that PNG, GIF, BMP and JPEG headers declare, and files that must give none.
#include <cstdio>
#include <optional>
#include <string>

#include "frontends/web/picture_size.h"

namespace {

using mireval::PictureSizeOf;
using mireval::PixelSize;

int passed = 0, failed = 0;

void Expect(const char* what, std::optional<PixelSize> got, std::optional<PixelSize> want) {
  if (got == want) {
    ++passed;
    return;
  }
  ++failed;
  std::printf(
      "FAIL %s: got %s, want %s\n", what,
      got ? (std::to_string(got->width) + "x" + std::to_string(got->height)).c_str() : "none",
      want ? (std::to_string(want->width) + "x" + std::to_string(want->height)).c_str() : "none");
}

std::string Bytes(std::initializer_list<int> b) {
  std::string s;
  for (int c : b) s += static_cast<char>(c);
  return s;
}

std::string Png(int w, int h) {
  return "\x89PNG\r\n\x1a\n" + Bytes({0, 0, 0, 13}) + "IHDR" +
         Bytes({w >> 24, (w >> 16) & 255, (w >> 8) & 255, w & 255, h >> 24, (h >> 16) & 255,
                (h >> 8) & 255, h & 255, 8, 2, 0, 0, 0});
}

// A BMP with the common 40-byte header, or the oldest 12-byte one.
std::string Bmp(int w, int h, bool oldest = false) {
  std::string s = "BM" + std::string(12, '\0');
  if (oldest) return s + Bytes({12, 0, 0, 0, w & 255, w >> 8, h & 255, h >> 8, 1, 0, 24, 0});
  const unsigned uw = static_cast<unsigned>(w), uh = static_cast<unsigned>(h);
  return s + Bytes({40, 0, 0, 0}) +
         Bytes({static_cast<int>(uw & 255), static_cast<int>((uw >> 8) & 255),
                static_cast<int>((uw >> 16) & 255), static_cast<int>(uw >> 24),
                static_cast<int>(uh & 255), static_cast<int>((uh >> 8) & 255),
                static_cast<int>((uh >> 16) & 255), static_cast<int>(uh >> 24)}) +
         std::string(32, '\0');
}

// A JPEG whose frame header (marker `sof`) follows an APP0 segment, fill bytes and a restart-free
// table segment.
std::string Jpeg(int w, int h, int sof = 0xC0) {
  return Bytes({0xFF, 0xD8, 0xFF, 0xE0, 0, 16}) + "JFIF" + std::string(10, '\0') +
         Bytes({0xFF, 0xFF, 0xFF, 0xC4, 0, 4, 0, 0}) +
         Bytes({0xFF, sof, 0, 17, 8, h >> 8, h & 255, w >> 8, w & 255, 3}) + std::string(9, '\0');
}

}  // namespace

int main() {
  Expect("PNG", PictureSizeOf(Png(240, 180)), PixelSize{240, 180});
  Expect("PNG, wide", PictureSizeOf(Png(70000, 3)), PixelSize{70000, 3});
  Expect("PNG cut short", PictureSizeOf(Png(240, 180).substr(0, 20)), std::nullopt);
  Expect("PNG of no pixels", PictureSizeOf(Png(0, 180)), std::nullopt);
  Expect("GIF89a", PictureSizeOf("GIF89a" + Bytes({0x40, 1, 0xF0, 0, 0})), PixelSize{320, 240});
  Expect("GIF87a", PictureSizeOf("GIF87a" + Bytes({16, 0, 8, 0})), PixelSize{16, 8});
  Expect("BMP", PictureSizeOf(Bmp(640, 480)), PixelSize{640, 480});
  Expect("BMP stored top down", PictureSizeOf(Bmp(640, -480)), PixelSize{640, 480});
  Expect("BMP, oldest header", PictureSizeOf(Bmp(300, 200, true)), PixelSize{300, 200});
  Expect("JPEG, baseline", PictureSizeOf(Jpeg(1024, 768)), PixelSize{1024, 768});
  Expect("JPEG, progressive", PictureSizeOf(Jpeg(50, 60, 0xC2)), PixelSize{50, 60});
  // A marker that is no frame header (C4: Huffman tables) is skipped by its length.
  Expect("JPEG, tables only", PictureSizeOf(Jpeg(50, 60, 0xC4) + Bytes({0xFF, 0xD9})),
         std::nullopt);
  Expect("JPEG cut inside its frame header", PictureSizeOf(Jpeg(50, 60).substr(0, 30)),
         std::nullopt);
  Expect("a text file", PictureSizeOf("Вы стоите на развилке."), std::nullopt);
  Expect("an empty file", PictureSizeOf(""), std::nullopt);
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
