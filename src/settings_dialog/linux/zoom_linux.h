#pragma once
// The zoom animation on X11: the window's frame rectangle, and the zoom drawn where a window
// manager runs.
#include "settings_dialog/zoom.h"

namespace tolvenar::linux_port {

class LinuxWindowAnimation final : public WindowAnimation {
 public:
  // The window's outer rectangle on the screen; its place and size while it is not yet shown.
  PixelRect WindowRect(WindowHandle window) override;
  // Outlines from one rectangle to the other, drawn on the screen where a window manager runs and
  // nothing composites the screen; a bare X server or a compositing desktop shows no zoom.
  void AnimateRects(WindowHandle window, std::int32_t animation, const PixelRect& from,
                    const PixelRect& to) override;
};

}  // namespace tolvenar::linux_port
