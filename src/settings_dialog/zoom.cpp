#include "settings_dialog/zoom.h"

namespace tolvenar {
namespace {

PixelRect PointRect(const ZoomPoint& point) {
  return {point.ZoomPointX, point.ZoomPointY, point.ZoomPointX, point.ZoomPointY};
}

std::int32_t Between(std::int32_t a, std::int32_t b, int step, int steps) {
  return static_cast<std::int32_t>(a + (static_cast<std::int64_t>(b) - a) * step / steps);
}

}  // namespace

std::vector<PixelRect> ZoomOutlines(const PixelRect& from, const PixelRect& to, int steps) {
  std::vector<PixelRect> outlines;
  for (int step = 1; step <= steps; ++step) {
    outlines.push_back(
        {Between(from.left, to.left, step, steps), Between(from.top, to.top, step, steps),
         Between(from.right, to.right, step, steps), Between(from.bottom, to.bottom, step, steps)});
  }
  return outlines;
}

void ZoomWindowOpen(WindowAnimation& animation, const ZoomPoint& point, WindowHandle window) {
  const PixelRect from = PointRect(point);
  const PixelRect to = animation.WindowRect(window);
  animation.AnimateRects(window, kIdAniCaption, from, to);
}

void ZoomWindowClose(WindowAnimation& animation, const ZoomPoint& point, WindowHandle window) {
  const PixelRect from = animation.WindowRect(window);
  const PixelRect to = PointRect(point);
  animation.AnimateRects(window, kIdAniCaption, from, to);
}

}  // namespace tolvenar
