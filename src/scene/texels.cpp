#include "scene/texels.h"

#include "scene/direct3d_values.h"

namespace tolvenar {

namespace {

using d3d8::kFilterMask;
using d3d8::kFilterNone;

std::uint32_t Texel(const Picture& picture, std::uint32_t x, std::uint32_t y) {
  const std::uint8_t* p = &picture.rgb[(static_cast<std::size_t>(y) * picture.width + x) * 3];
  return 0xFF000000u | (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
}

}  // namespace

std::vector<std::uint32_t> TopLevelTexels(const Picture& picture, std::uint32_t width,
                                          std::uint32_t height, std::uint32_t filter) {
  std::vector<std::uint32_t> texels(static_cast<std::size_t>(width) * height, 0);
  if (picture.width <= 0 || picture.height <= 0) return texels;
  const auto source_width = static_cast<std::uint32_t>(picture.width);
  const auto source_height = static_cast<std::uint32_t>(picture.height);
  const bool scale = (filter & kFilterMask) != kFilterNone;
  for (std::uint32_t y = 0; y < height; ++y) {
    for (std::uint32_t x = 0; x < width; ++x) {
      std::uint32_t sx = x;
      std::uint32_t sy = y;
      if (scale) {
        sx = static_cast<std::uint32_t>(std::uint64_t{x} * source_width / width);
        sy = static_cast<std::uint32_t>(std::uint64_t{y} * source_height / height);
      } else if (sx >= source_width || sy >= source_height) {
        continue;
      }
      texels[static_cast<std::size_t>(y) * width + x] = Texel(picture, sx, sy);
    }
  }
  return texels;
}

}  // namespace tolvenar
