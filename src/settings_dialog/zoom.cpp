#include "settings_dialog/zoom.h"

namespace tolvenar {
namespace {

ScreenRect PointRect(const ZoomPoint& point) {
  return {point.ZoomPointX, point.ZoomPointY, point.ZoomPointX, point.ZoomPointY};
}

}  // namespace

void ZoomWindowOpen(WindowAnimation& animation, const ZoomPoint& point, WindowHandle window) {
  const ScreenRect from = PointRect(point);
  const ScreenRect to = animation.WindowRect(window);
  animation.AnimateRects(window, kIdAniCaption, from, to);
}

void ZoomWindowClose(WindowAnimation& animation, const ZoomPoint& point, WindowHandle window) {
  const ScreenRect from = animation.WindowRect(window);
  const ScreenRect to = PointRect(point);
  animation.AnimateRects(window, kIdAniCaption, from, to);
}

}  // namespace tolvenar
