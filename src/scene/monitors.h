#pragma once
// The monitors the saver window covers, as rectangles in pixels.
#include <vector>

#include "runtime/pixel_geometry.h"

namespace tolvenar {

// The smallest rectangle holding all of them (the virtual screen); all zero when there are none.
PixelRect BoundingRect(const std::vector<PixelRect>& rects);

// The rectangles moved so that `origin` becomes (0, 0).
std::vector<PixelRect> RelativeTo(const std::vector<PixelRect>& rects, PixelPoint origin);

}  // namespace tolvenar
