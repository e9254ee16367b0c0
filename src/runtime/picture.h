#pragma once
// Pictures: the program embeds compressed pictures (PNG or BMP) and writes some of them out as
// 24-bit BMP files; decoding is stb_image's.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tolvenar {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // width * height * 3 bytes, rows top to bottom, R G B order
};

// The largest width or height DecodePicture accepts.
inline constexpr int kMaxPictureSide = 4096;

// Decodes PNG or BMP bytes; nullopt for anything else and for pictures wider or higher than
// kMaxPictureSide.
std::optional<Picture> DecodePicture(std::string_view bytes);

// A bottom-up 24-bit BMP file (BITMAPINFOHEADER, rows padded to 4 bytes).
std::string EncodeBmp24(const Picture& picture);

}  // namespace tolvenar
