#include "runtime/picture.h"

#include <cstring>

#include <stb_image.h>

namespace tolvenar {
namespace {

void PutLe(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

std::optional<Picture> DecodePicture(std::string_view bytes) {
  if (bytes.empty() || bytes.size() > std::size_t{64} * 1024 * 1024) return std::nullopt;
  int width = 0, height = 0, channels = 0;
  // A header can claim any size: refuse what no picture of this program comes near before the
  // decoder allocates for it.
  if (!stbi_info_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()),
                             static_cast<int>(bytes.size()), &width, &height, &channels) ||
      width <= 0 || height <= 0 || width > kMaxPictureSide || height > kMaxPictureSide) {
    return std::nullopt;
  }
  stbi_uc* pixels =
      stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()),
                            static_cast<int>(bytes.size()), &width, &height, &channels, 3);
  if (!pixels) return std::nullopt;
  Picture picture;
  picture.width = width;
  picture.height = height;
  picture.rgb.assign(pixels, pixels + static_cast<std::size_t>(width) * height * 3);
  stbi_image_free(pixels);
  return picture;
}

std::string EncodeBmp24(const Picture& picture) {
  const std::uint32_t row_size = (static_cast<std::uint32_t>(picture.width) * 3 + 3) & ~3u;
  const std::uint32_t image_size = row_size * static_cast<std::uint32_t>(picture.height);
  std::string out;
  out.reserve(54 + image_size);
  out += "BM";
  PutLe(out, 54 + image_size, 4);
  PutLe(out, 0, 4);
  PutLe(out, 54, 4);
  PutLe(out, 40, 4);  // BITMAPINFOHEADER
  PutLe(out, static_cast<std::uint32_t>(picture.width), 4);
  PutLe(out, static_cast<std::uint32_t>(picture.height), 4);  // positive: bottom-up rows
  PutLe(out, 1, 2);
  PutLe(out, 24, 2);
  PutLe(out, 0, 4);  // BI_RGB
  PutLe(out, image_size, 4);
  PutLe(out, 2835, 4);  // 72 dpi
  PutLe(out, 2835, 4);
  PutLe(out, 0, 4);
  PutLe(out, 0, 4);
  for (int y = picture.height - 1; y >= 0; --y) {
    const std::uint8_t* row = picture.rgb.data() + static_cast<std::size_t>(y) * picture.width * 3;
    for (int x = 0; x < picture.width; ++x) {
      out += static_cast<char>(row[x * 3 + 2]);
      out += static_cast<char>(row[x * 3 + 1]);
      out += static_cast<char>(row[x * 3 + 0]);
    }
    out.append(row_size - static_cast<std::uint32_t>(picture.width) * 3, '\0');
  }
  return out;
}

}  // namespace tolvenar
