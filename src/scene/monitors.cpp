#include "scene/monitors.h"

#include <algorithm>

namespace tolvenar {

PixelRect BoundingRect(const std::vector<PixelRect>& rects) {
  if (rects.empty()) return {};
  PixelRect bounds = rects.front();
  for (const PixelRect& r : rects) {
    bounds.left = std::min(bounds.left, r.left);
    bounds.top = std::min(bounds.top, r.top);
    bounds.right = std::max(bounds.right, r.right);
    bounds.bottom = std::max(bounds.bottom, r.bottom);
  }
  return bounds;
}

std::vector<PixelRect> RelativeTo(const std::vector<PixelRect>& rects, PixelPoint origin) {
  std::vector<PixelRect> moved;
  moved.reserve(rects.size());
  for (const PixelRect& r : rects) {
    moved.push_back({r.left - origin.x, r.top - origin.y, r.right - origin.x, r.bottom - origin.y});
  }
  return moved;
}

}  // namespace tolvenar
