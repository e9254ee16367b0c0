#include "settings_dialog/win32/zoom_win32.h"

#include <windows.h>

#include "runtime/win32/pixel_geometry_win32.h"

namespace tolvenar::win32 {

PixelRect Win32WindowAnimation::WindowRect(WindowHandle window) {
  RECT r{};
  if (!GetWindowRect(reinterpret_cast<HWND>(window), &r)) return {};
  return ToPixelRect(r);
}

void Win32WindowAnimation::AnimateRects(WindowHandle window, std::int32_t animation,
                                        const PixelRect& from, const PixelRect& to) {
  const RECT from_rect = ToRect(from);
  const RECT to_rect = ToRect(to);
  DrawAnimatedRects(reinterpret_cast<HWND>(window), animation, &from_rect, &to_rect);
}

}  // namespace tolvenar::win32
