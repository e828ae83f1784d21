// The size of a picture from the header of its file, for the formats games ship (PNG, JPEG, GIF,
// BMP). The browser decodes pictures only asynchronously, and the engine asks for the size in the
// middle of writing the story; the header answers at once.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace mireval {

struct PixelSize {
  int width = 0;
  int height = 0;
  bool operator==(const PixelSize&) const = default;
};

// The size the file's bytes declare; nothing when they are no picture of these formats, are cut
// short, or declare an empty picture.
std::optional<PixelSize> PictureSizeOf(std::string_view bytes);

std::optional<PixelSize> PictureFileSize(const std::filesystem::path& file);

}  // namespace mireval
