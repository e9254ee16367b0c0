#include "runtime/emulation/raster.h"

namespace tolvenar {
namespace {

std::uint8_t Blend(std::uint16_t from, std::uint16_t to, std::int64_t position,
                   std::int64_t length) {
  const std::int64_t value = (from * (length - position) + to * position) / length;
  return static_cast<std::uint8_t>(value >> 8);
}

}  // namespace

Colour GradientColourAt(const TriVertex& from, const TriVertex& to, std::int32_t position,
                        std::int32_t length) {
  if (length <= 0)
    return {static_cast<std::uint8_t>(from.red >> 8), static_cast<std::uint8_t>(from.green >> 8),
            static_cast<std::uint8_t>(from.blue >> 8)};
  return {Blend(from.red, to.red, position, length), Blend(from.green, to.green, position, length),
          Blend(from.blue, to.blue, position, length)};
}

std::int32_t StretchSourceIndex(std::int32_t dest_index, std::int32_t dest_length,
                                std::int32_t source_length) {
  if (dest_length <= 0 || source_length <= 0) return 0;
  // Measured against the platform's stretches of 12 to 18 and 17 to 26 pixels: the running
  // position starts half a source pixel (rounded down) in.
  const std::int64_t index =
      (static_cast<std::int64_t>(dest_index) * source_length + (source_length - 1) / 2) /
      dest_length;
  if (index < 0) return 0;
  return static_cast<std::int32_t>(index < source_length ? index : source_length - 1);
}

}  // namespace tolvenar
