#include "runtime/win32/persistent_surface_win32.h"

#include <cmath>
#include <utility>

#include "runtime/win32/system_function.h"

namespace tolvenar::win32 {

void Win32PersistentSurface::Resize(int width, int height) {
  MemoryImage resized(width, height);
  if (!resized) {
    image_ = MemoryImage();
    return;
  }
  RECT all = {0, 0, width, height};
  FillRect(resized.dc(), &all, GetSysColorBrush(COLOR_BTNFACE));
  if (image_) BitBlt(resized.dc(), 0, 0, width, height, image_.dc(), 0, 0, SRCCOPY);
  image_ = std::move(resized);
}

void Win32PersistentSurface::PaintInto(HDC target) {
  if (back_style_ == BackStyle::kOpaque) {
    if (image_) BitBlt(target, 0, 0, image_.width(), image_.height(), image_.dc(), 0, 0, SRCCOPY);
    return;
  }
  // Transparent: the container paints its own background and client area under the control.
  const HWND parent = window_ ? GetParent(window_) : nullptr;
  if (!parent) return;
  POINT origin = {0, 0};
  MapWindowPoints(window_, parent, &origin, 1);
  POINT previous;
  OffsetViewportOrgEx(target, -origin.x, -origin.y, &previous);
  SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(target), 0);
  SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(target), PRF_CLIENT);
  SetViewportOrgEx(target, previous.x, previous.y, nullptr);
}

double Win32PersistentSurface::WidthTwips() {
  return static_cast<double>(image_.width()) * twips_per_pixel_;
}

double Win32PersistentSurface::HeightTwips() {
  return static_cast<double>(image_.height()) * twips_per_pixel_;
}

bool Win32PersistentSurface::Clear() {
  if (!image_) return false;
  RECT all = {0, 0, image_.width(), image_.height()};
  return FillRect(image_.dc(), &all, GetSysColorBrush(COLOR_BTNFACE)) != 0;
}

bool Win32PersistentSurface::SetScaleMode(ScaleMode mode) {
  if (mode != ScaleMode::kTwips && mode != ScaleMode::kPixels) return false;
  scale_mode_ = mode;
  return true;
}

double Win32PersistentSurface::ScaleWidth() {
  return scale_mode_ == ScaleMode::kPixels ? image_.width() : WidthTwips();
}

double Win32PersistentSurface::ScaleHeight() {
  return scale_mode_ == ScaleMode::kPixels ? image_.height() : HeightTwips();
}

bool Win32PersistentSurface::FillGradient(const TriVertex* vertices, std::uint32_t vertex_count,
                                          const GradientRectangle* rectangles,
                                          std::uint32_t rectangle_count, bool vertical) {
  if (!image_ || vertex_count == 0 || rectangle_count == 0) return false;
  static_assert(sizeof(TRIVERTEX) == sizeof(TriVertex), "vertex records match");
  static_assert(sizeof(GRADIENT_RECT) == sizeof(GradientRectangle), "rectangle records match");
  TRIVERTEX platform_vertices[16];
  GRADIENT_RECT platform_rects[16];
  if (vertex_count > 16 || rectangle_count > 16) return false;
  for (std::uint32_t i = 0; i < vertex_count; ++i) {
    platform_vertices[i] = {vertices[i].x,     vertices[i].y,    vertices[i].red,
                            vertices[i].green, vertices[i].blue, vertices[i].alpha};
  }
  for (std::uint32_t i = 0; i < rectangle_count; ++i) {
    platform_rects[i] = {rectangles[i].upper_left, rectangles[i].lower_right};
  }
  static const auto gradient_fill =
      SystemFunction<decltype(&GradientFill)>("msimg32.dll", "GradientFill");
  if (!gradient_fill) return false;
  return gradient_fill(image_.dc(), platform_vertices, vertex_count, platform_rects,
                       rectangle_count,
                       vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H) != FALSE;
}

int Win32PersistentSurface::ToPixels(double value) const {
  const double pixels = scale_mode_ == ScaleMode::kTwips ? value / twips_per_pixel_ : value;
  return static_cast<int>(std::lround(pixels));
}

int Win32PersistentSurface::ToPicturePixels(double value) const {
  const double pixels =
      scale_mode_ == ScaleMode::kTwips ? value / tolvenar::TwipsPerPixel(kUsualDotsPerInch) : value;
  return static_cast<int>(std::lround(pixels));
}

const MemoryImage* Win32PersistentSurface::PictureImage(const Picture& picture) {
  auto found = pictures_.find(&picture);
  if (found != pictures_.end()) return &found->second;
  MemoryImage image(Dib::FromPicture(picture));
  if (!image) return nullptr;
  return &pictures_.emplace(&picture, std::move(image)).first->second;
}

bool Win32PersistentSurface::DrawPicture(const Picture& picture,
                                         const PicturePlacement& placement) {
  if (!image_) return false;
  const MemoryImage* source = PictureImage(picture);
  if (!source) return false;
  SetStretchBltMode(image_.dc(), COLORONCOLOR);
  return StretchBlt(image_.dc(), ToPixels(placement.x), ToPixels(placement.y),
                    ToPixels(placement.width), ToPixels(placement.height), source->dc(),
                    ToPicturePixels(placement.source_x), ToPicturePixels(placement.source_y),
                    ToPicturePixels(placement.source_width),
                    ToPicturePixels(placement.source_height), SRCCOPY) != FALSE;
}

bool Win32PersistentSurface::Present() {
  if (!window_) return false;
  InvalidateRect(window_, nullptr, FALSE);
  return UpdateWindow(window_) != FALSE;
}

bool Win32PersistentSurface::SetBackStyle(std::int16_t style) {
  if (style != 0 && style != 1) return false;
  back_style_ = static_cast<BackStyle>(style);
  if (window_) InvalidateRect(window_, nullptr, FALSE);
  return true;
}

}  // namespace tolvenar::win32
