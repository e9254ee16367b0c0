#pragma once
// Points and rectangles in pixels, as the platform measures windows and the pointer; each use says
// which origin (the screen's or a window's client area).
#include <cstdint>

namespace tolvenar {

struct PixelPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

struct PixelRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  // Left and top edges are inside, right and bottom outside.
  bool Contains(PixelPoint p) const {
    return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
  }
  bool operator==(const PixelRect& other) const {
    return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
  }
};

}  // namespace tolvenar
