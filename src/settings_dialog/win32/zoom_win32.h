#pragma once
// The zoom animation on user32's GetWindowRect and DrawAnimatedRects.
#include "settings_dialog/zoom.h"

namespace tolvenar::win32 {

class Win32WindowAnimation final : public WindowAnimation {
 public:
  PixelRect WindowRect(WindowHandle window) override;
  void AnimateRects(WindowHandle window, std::int32_t animation, const PixelRect& from,
                    const PixelRect& to) override;
};

}  // namespace tolvenar::win32
