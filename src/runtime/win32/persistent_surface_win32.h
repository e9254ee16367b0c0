#pragma once
// A window's persistent drawing surface: a memory bitmap of the client size that drawing goes
// into and that the window's paint handler shows again.
#include <windows.h>

#include <map>
#include <utility>

#include "runtime/drawing_surface.h"
#include "runtime/win32/dib_win32.h"

namespace tolvenar::win32 {

class Win32PersistentSurface final : public ControlSurface {
 public:
  // Twips per pixel of the usual display, which the controls are laid out for.
  static constexpr int kTwipsPerPixel = 15;

  Win32PersistentSurface() = default;
  // The window that shows the image; Present repaints it.
  void Attach(HWND window) { window_ = window; }
  // Makes the image the given client size; what was drawn stays where it fits.
  void Resize(int width, int height);
  // Shows the image (or, when transparent, the container behind it) into a paint DC.
  void PaintInto(HDC target);
  const MemoryImage& image() const { return image_; }

  double WidthTwips() override;
  double HeightTwips() override;
  bool Clear() override;
  bool SetScaleMode(ScaleMode mode) override;
  double ScaleWidth() override;
  double ScaleHeight() override;
  bool FillGradient(const TriVertex* vertices, std::uint32_t vertex_count,
                    const GradientRectangle* rectangles, std::uint32_t rectangle_count,
                    bool vertical) override;
  bool DrawPicture(const Picture& picture, const PicturePlacement& placement) override;
  bool Present() override;
  BackStyle GetBackStyle() override { return back_style_; }
  bool SetBackStyle(std::int16_t style) override;

 private:
  int ToPixels(double value) const;
  const MemoryImage* PictureImage(const Picture& picture);

  HWND window_ = nullptr;
  MemoryImage image_;
  ScaleMode scale_mode_ = ScaleMode::kTwips;
  BackStyle back_style_ = BackStyle::kOpaque;
  std::map<const Picture*, MemoryImage> pictures_;  // the pictures drawn so far, as bitmaps
};

}  // namespace tolvenar::win32
