// Any bytes as an embedded or loaded picture: decode, and a decoded picture survives a BMP round
// trip.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "runtime/picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tolvenar;
  const auto picture = DecodePicture(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!picture || picture->width > 512 || picture->height > 512) return 0;
  const auto again = DecodePicture(EncodeBmp24(*picture));
  if (!again || again->rgb != picture->rgb) std::abort();
  return 0;
}
