#include "frontends/web/picture_size.h"

#include <cstdint>
#include <cstdlib>

#include "base/files.h"

namespace mireval {

namespace {

std::uint32_t Byte(std::string_view b, std::size_t at) {
  return static_cast<unsigned char>(b[at]);
}
std::uint32_t BigEndian16(std::string_view b, std::size_t at) {
  return Byte(b, at) << 8 | Byte(b, at + 1);
}
std::uint32_t BigEndian32(std::string_view b, std::size_t at) {
  return BigEndian16(b, at) << 16 | BigEndian16(b, at + 2);
}
std::uint32_t LittleEndian16(std::string_view b, std::size_t at) {
  return Byte(b, at) | Byte(b, at + 1) << 8;
}
std::uint32_t LittleEndian32(std::string_view b, std::size_t at) {
  return LittleEndian16(b, at) | LittleEndian16(b, at + 2) << 16;
}

std::optional<PixelSize> Checked(std::int64_t width, std::int64_t height) {
  constexpr std::int64_t kLargest = 1 << 20;
  if (width <= 0 || height <= 0 || width > kLargest || height > kLargest) return std::nullopt;
  return PixelSize{static_cast<int>(width), static_cast<int>(height)};
}

std::optional<PixelSize> Png(std::string_view b) {
  // The signature, then the header chunk, which must come first.
  if (b.size() < 24 || b.substr(12, 4) != "IHDR") return std::nullopt;
  return Checked(BigEndian32(b, 16), BigEndian32(b, 20));
}

std::optional<PixelSize> Gif(std::string_view b) {
  if (b.size() < 10) return std::nullopt;
  return Checked(LittleEndian16(b, 6), LittleEndian16(b, 8));
}

std::optional<PixelSize> Bmp(std::string_view b) {
  if (b.size() < 26) return std::nullopt;
  // The oldest header holds 16-bit sizes; every later one 32-bit, the height negative for rows
  // stored top down.
  if (LittleEndian32(b, 14) == 12) return Checked(LittleEndian16(b, 18), LittleEndian16(b, 20));
  const auto height = static_cast<std::int32_t>(LittleEndian32(b, 22));
  return Checked(static_cast<std::int32_t>(LittleEndian32(b, 18)), std::abs(std::int64_t{height}));
}

// A start-of-frame marker: C0..CF but for C4 (Huffman tables), C8 (reserved), CC (arithmetic
// coding conditions).
bool StartsFrame(std::uint32_t marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

std::optional<PixelSize> Jpeg(std::string_view b) {
  // Segments follow the start of image; the frame header, wherever it comes, holds the size.
  std::size_t at = 2;
  while (at + 4 <= b.size()) {
    if (Byte(b, at) != 0xFF) return std::nullopt;
    const std::uint32_t marker = Byte(b, at + 1);
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {  // no length follows
      at += 2;
      continue;
    }
    if (marker == 0xD9 || marker == 0xDA) return std::nullopt;  // image data before any frame
    const std::size_t length = BigEndian16(b, at + 2);
    if (StartsFrame(marker)) {
      if (length < 7 || at + 9 > b.size()) return std::nullopt;
      return Checked(BigEndian16(b, at + 7), BigEndian16(b, at + 5));
    }
    if (length < 2) return std::nullopt;
    at += 2 + length;
  }
  return std::nullopt;
}

}  // namespace

std::optional<PixelSize> PictureSizeOf(std::string_view b) {
  if (b.substr(0, 8) == "\x89PNG\r\n\x1a\n") return Png(b);
  if (b.substr(0, 6) == "GIF87a" || b.substr(0, 6) == "GIF89a") return Gif(b);
  if (b.substr(0, 2) == "BM") return Bmp(b);
  if (b.substr(0, 3) == "\xFF\xD8\xFF") return Jpeg(b);
  return std::nullopt;
}

std::optional<PixelSize> PictureFileSize(const std::filesystem::path& file) {
  const std::optional<std::string> bytes = ReadWholeFile(file);
  return bytes ? PictureSizeOf(*bytes) : std::nullopt;
}

}  // namespace mireval
