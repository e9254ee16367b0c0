#include "settings_dialog/zoom.h"

namespace tolvenar {
namespace {

PixelRect PointRect(const ZoomPoint& point) {
  return {point.ZoomPointX, point.ZoomPointY, point.ZoomPointX, point.ZoomPointY};
}

}  // namespace

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
