#include "startup/win32/preview_window_win32.h"

#include "startup/preview.h"

namespace tolvenar::win32 {
namespace {

constexpr char kClassName[] = "Tolvenar_R";
constexpr char kCaption[] = "Preview Window";
constexpr UINT_PTR kParentWatch = 1;
constexpr UINT kParentWatchMs = 500;

HWND ToHwnd(WindowHandle handle) { return reinterpret_cast<HWND>(handle); }

}  // namespace

Win32PreviewWindow::Win32PreviewWindow(EmbeddedData& embedded) : embedded_(embedded) {}

Win32PreviewWindow::~Win32PreviewWindow() {
  if (window_ && IsWindow(window_)) DestroyWindow(window_);
}

void Win32PreviewWindow::Show(WindowHandle parent) {
  parent_ = parent;
  if (!PlacePreviewWindow(*this, parent).created) return;
  // The preview area may vanish without destroying its child (another process's window): check.
  SetTimer(window_, kParentWatch, kParentWatchMs, nullptr);
}

bool Win32PreviewWindow::GetWindowRect(WindowHandle handle, PixelRect& rect) {
  const HWND window = ToHwnd(handle);
  RECT r;
  if (!window || !IsWindow(window) || !::GetWindowRect(window, &r)) return false;
  rect = {r.left, r.top, r.right, r.bottom};
  return true;
}

bool Win32PreviewWindow::WindowExists(WindowHandle handle) {
  const HWND window = ToHwnd(handle);
  return window && IsWindow(window);
}

double Win32PreviewWindow::ScreenTwipsPerPixel(int index) {
  HDC screen = GetDC(nullptr);
  const int dots_per_inch = screen ? GetDeviceCaps(screen, index) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return dots_per_inch > 0 ? 1440.0 / dots_per_inch : 15.0;
}

double Win32PreviewWindow::TwipsPerPixelX() { return ScreenTwipsPerPixel(LOGPIXELSX); }
double Win32PreviewWindow::TwipsPerPixelY() { return ScreenTwipsPerPixel(LOGPIXELSY); }

bool Win32PreviewWindow::CreatePreviewWindow() {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  window_class.lpszClassName = kClassName;
  RegisterClassA(&window_class);  // fails harmlessly when already registered

  if (auto picture = DecodePicture(embedded_.Bytes("PREVIEW"))) {
    still_ = std::move(*picture);
    const std::size_t stride = (static_cast<std::size_t>(still_.width) * 3 + 3) & ~std::size_t{3};
    still_bgr_.assign(stride * still_.height, 0);
    for (int y = 0; y < still_.height; ++y) {
      const std::uint8_t* source = &still_.rgb[static_cast<std::size_t>(y) * still_.width * 3];
      std::uint8_t* row = &still_bgr_[(still_.height - 1 - y) * stride];
      for (int x = 0; x < still_.width; ++x) {
        row[3 * x] = source[3 * x + 2];
        row[3 * x + 1] = source[3 * x + 1];
        row[3 * x + 2] = source[3 * x];
      }
    }
  }

  // A borderless window, neither pop-up nor child yet: the placement makes it a child.
  window_ = CreateWindowExA(0, kClassName, kCaption, WS_POPUP, 0, 0, 173, 129, nullptr, nullptr,
                            instance, this);
  if (!window_) return false;
  SetWindowLongA(window_, GWL_STYLE, WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
  return true;
}

std::uint32_t Win32PreviewWindow::ReadWindowStyle() {
  return static_cast<std::uint32_t>(GetWindowLongA(window_, GWL_STYLE));
}

bool Win32PreviewWindow::WriteWindowStyle(std::uint32_t style) {
  SetLastError(0);
  const LONG previous = SetWindowLongA(window_, GWL_STYLE, static_cast<LONG>(style));
  return previous != 0 || GetLastError() == 0;
}

bool Win32PreviewWindow::SetParentWindow(WindowHandle parent) {
  return SetParent(window_, ToHwnd(parent)) != nullptr;
}

void Win32PreviewWindow::MoveWindowTwips(std::int32_t left, std::int32_t top, std::int32_t width,
                                         std::int32_t height) {
  const double twips_x = TwipsPerPixelX(), twips_y = TwipsPerPixelY();
  MoveWindow(window_, TwipsToPixels(left, twips_x), TwipsToPixels(top, twips_y),
             TwipsToPixels(width, twips_x), TwipsToPixels(height, twips_y), TRUE);
}

void Win32PreviewWindow::SizeImage(std::int32_t width, std::int32_t height) {
  image_.right = image_.left + width;
  image_.bottom = image_.top + height;
  InvalidateRect(window_, nullptr, TRUE);
}

void Win32PreviewWindow::PlaceImage(std::int32_t left, std::int32_t top) {
  const LONG width = image_.right - image_.left, height = image_.bottom - image_.top;
  image_ = {left, top, left + width, top + height};
  InvalidateRect(window_, nullptr, TRUE);
}

void Win32PreviewWindow::ShowPreviewWindow() { ShowWindow(window_, SW_SHOWNORMAL); }

bool Win32PreviewWindow::PostCloseToSelf() {
  return PostMessageA(window_, WM_CLOSE, 0, 0) != FALSE;
}

LRESULT CALLBACK Win32PreviewWindow::WindowProc(HWND window, UINT message, WPARAM wparam,
                                                LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self =
        static_cast<Win32PreviewWindow*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->window_ = window;
  }
  auto* self = reinterpret_cast<Win32PreviewWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!self) return DefWindowProcA(window, message, wparam, lparam);
  return self->Handle(message, wparam, lparam);
}

LRESULT Win32PreviewWindow::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_TIMER:
      if (wparam == kParentWatch) PreviewCheckParent(*this, parent_);
      return 0;
    case WM_CLOSE:
      // The form unloads, then the window goes.
      PreviewFormUnload(*this);
      DestroyWindow(window_);
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
      window_ = nullptr;
      break;
    default:
      break;
  }
  return DefWindowProcA(window_, message, wparam, lparam);
}

void Win32PreviewWindow::OnPaint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window_, &paint);
  if (!dc) return;
  if (!still_bgr_.empty() && image_.right > image_.left && image_.bottom > image_.top) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = still_.width;
    info.bmiHeader.biHeight = still_.height;  // bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    // The still fills the image control, scaled when the preview area has another size.
    StretchDIBits(dc, image_.left, image_.top, image_.right - image_.left,
                  image_.bottom - image_.top, 0, 0, still_.width, still_.height, still_bgr_.data(),
                  &info, DIB_RGB_COLORS, SRCCOPY);
  }
  EndPaint(window_, &paint);
}

}  // namespace tolvenar::win32
