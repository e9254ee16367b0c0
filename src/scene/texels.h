#pragma once
// The top level of a texture made from a decoded picture, as a texture loader fills it.
#include <cstdint>
#include <vector>

#include "runtime/picture.h"

namespace tolvenar {

// width x height A8R8G8B8 texels, rows top to bottom, alpha 255. Filter 1 (none) copies the
// picture unscaled from the top-left corner, transparent black outside it; any other filter
// scales by point sampling.
std::vector<std::uint32_t> TopLevelTexels(const Picture& picture, std::uint32_t width,
                                          std::uint32_t height, std::uint32_t filter);

}  // namespace tolvenar
