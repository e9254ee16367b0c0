#include "startup/win32/preview_window_win32.h"

#include "runtime/win32/pixel_geometry_win32.h"
#include "runtime/win32/screen_win32.h"
#include "startup/preview.h"

namespace tolvenar::win32 {
namespace {

constexpr wchar_t kClassName[] = L"Tolvenar_R";
constexpr wchar_t kCaption[] = L"Preview Window";
constexpr UINT_PTR kParentWatch = 1;
constexpr UINT kParentWatchMs = 500;

HWND ToHwnd(WindowHandle handle) { return reinterpret_cast<HWND>(handle); }

}  // namespace

Win32PreviewWindow::Win32PreviewWindow(EmbeddedData& embedded) : embedded_(embedded) {}

Win32PreviewWindow::~Win32PreviewWindow() = default;

void Win32PreviewWindow::Show(WindowHandle parent) {
  parent_ = parent;
  if (!PlacePreviewWindow(*this, parent).created) return;
  // The preview area may vanish without destroying its child (another process's window): check.
  SetTimer(handle(), kParentWatch, kParentWatchMs, nullptr);
}

bool Win32PreviewWindow::GetWindowRect(WindowHandle handle, PixelRect& rect) {
  const HWND window = ToHwnd(handle);
  RECT r;
  if (!window || !IsWindow(window) || !::GetWindowRect(window, &r)) return false;
  rect = ToPixelRect(r);
  return true;
}

bool Win32PreviewWindow::WindowExists(WindowHandle handle) {
  const HWND window = ToHwnd(handle);
  return window && IsWindow(window);
}

double Win32PreviewWindow::TwipsPerPixelX() { return ScreenTwipsPerPixel(LOGPIXELSX); }
double Win32PreviewWindow::TwipsPerPixelY() { return ScreenTwipsPerPixel(LOGPIXELSY); }

bool Win32PreviewWindow::CreatePreviewWindow() {
  RegisterWindowClass(
      {kClassName, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))});  // may be there already
  if (auto picture = DecodePicture(embedded_.Bytes("PREVIEW"))) still_ = Dib::FromPicture(*picture);

  // A borderless window, neither pop-up nor child yet: the placement makes it a child.
  if (!CreateHandle(kClassName, kCaption, WS_POPUP, 0, {0, 0, 173, 129})) return false;
  SetWindowLongA(handle(), GWL_STYLE, WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
  return true;
}

std::uint32_t Win32PreviewWindow::ReadWindowStyle() {
  return static_cast<std::uint32_t>(GetWindowLongA(handle(), GWL_STYLE));
}

bool Win32PreviewWindow::WriteWindowStyle(std::uint32_t style) {
  SetLastError(0);
  const LONG previous = SetWindowLongA(handle(), GWL_STYLE, static_cast<LONG>(style));
  return previous != 0 || GetLastError() == 0;
}

bool Win32PreviewWindow::SetParentWindow(WindowHandle parent) {
  return SetParent(handle(), ToHwnd(parent)) != nullptr;
}

void Win32PreviewWindow::MoveWindowTwips(std::int32_t left, std::int32_t top, std::int32_t width,
                                         std::int32_t height) {
  const double twips_x = TwipsPerPixelX(), twips_y = TwipsPerPixelY();
  MoveWindow(handle(), TwipsToPixels(left, twips_x), TwipsToPixels(top, twips_y),
             TwipsToPixels(width, twips_x), TwipsToPixels(height, twips_y), TRUE);
}

void Win32PreviewWindow::SizeImage(std::int32_t width, std::int32_t height) {
  image_.right = image_.left + width;
  image_.bottom = image_.top + height;
  InvalidateRect(handle(), nullptr, TRUE);
}

void Win32PreviewWindow::PlaceImage(std::int32_t left, std::int32_t top) {
  const LONG width = image_.right - image_.left, height = image_.bottom - image_.top;
  image_ = {left, top, left + width, top + height};
  InvalidateRect(handle(), nullptr, TRUE);
}

void Win32PreviewWindow::ShowPreviewWindow() { ShowWindow(handle(), SW_SHOWNORMAL); }

bool Win32PreviewWindow::PostCloseToSelf() {
  return PostMessageA(handle(), WM_CLOSE, 0, 0) != FALSE;
}

void Win32PreviewWindow::OnTimer(UINT_PTR id) {
  if (id == kParentWatch) PreviewCheckParent(*this, parent_);
}

// The form unloads, then the window goes.
void Win32PreviewWindow::OnClose() {
  PreviewFormUnload(*this);
  Destroy();
}

void Win32PreviewWindow::OnPaint(HDC dc) {
  if (!still_ || image_.right <= image_.left || image_.bottom <= image_.top) return;
  const BITMAPINFO info = still_.Info();
  SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  // The still fills the image control, scaled when the preview area has another size.
  StretchDIBits(dc, image_.left, image_.top, image_.right - image_.left, image_.bottom - image_.top,
                0, 0, still_.width(), still_.height(), still_.pixels(), &info, DIB_RGB_COLORS,
                SRCCOPY);
}

}  // namespace tolvenar::win32
