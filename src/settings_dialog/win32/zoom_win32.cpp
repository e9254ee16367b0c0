#include "settings_dialog/win32/zoom_win32.h"

#include <windows.h>

namespace tolvenar::win32 {
namespace {

RECT ToRect(const PixelRect& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

PixelRect Win32WindowAnimation::WindowRect(WindowHandle window) {
  RECT r{};
  if (!GetWindowRect(reinterpret_cast<HWND>(window), &r)) return {};
  return {r.left, r.top, r.right, r.bottom};
}

void Win32WindowAnimation::AnimateRects(WindowHandle window, std::int32_t animation,
                                        const PixelRect& from, const PixelRect& to) {
  const RECT from_rect = ToRect(from);
  const RECT to_rect = ToRect(to);
  DrawAnimatedRects(reinterpret_cast<HWND>(window), animation, &from_rect, &to_rect);
}

}  // namespace tolvenar::win32
