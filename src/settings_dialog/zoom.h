#pragma once
// The caption-style zoom with which the settings dialog opens out of the pointer's position and
// closes back into it.
#include <cstdint>
#include <vector>

#include "runtime/pixel_geometry.h"
#include "runtime/window_handle.h"

namespace tolvenar {

// The shared zoom point, screen pixels; both start at 0.
struct ZoomPoint {
  std::int16_t ZoomPointX = 0;
  std::int16_t ZoomPointY = 0;
};

inline constexpr std::int32_t kIdAniCaption = 3;  // IDANI_CAPTION

class WindowAnimation {
 public:
  virtual ~WindowAnimation() = default;
  // GetWindowRect: the window's outer rectangle in screen pixels; all zeros when it fails.
  virtual PixelRect WindowRect(WindowHandle window) = 0;
  // DrawAnimatedRects(window, animation, from, to); returns when the animation is done.
  virtual void AnimateRects(WindowHandle window, std::int32_t animation, const PixelRect& from,
                            const PixelRect& to) = 0;
};

// The outlines a zoom drawn by hand shows, one per step: from `from` towards `to`, the last one
// `to` itself; none for fewer than one step.
std::vector<PixelRect> ZoomOutlines(const PixelRect& from, const PixelRect& to, int steps);

// Animates from the zoom point (an empty rectangle) to the window's rectangle.
void ZoomWindowOpen(WindowAnimation& animation, const ZoomPoint& point, WindowHandle window);
// Animates from the window's rectangle back to the zoom point.
void ZoomWindowClose(WindowAnimation& animation, const ZoomPoint& point, WindowHandle window);

}  // namespace tolvenar
