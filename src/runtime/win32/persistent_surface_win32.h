#pragma once
// A window's persistent drawing surface: a memory bitmap of the client size that drawing goes
// into and that the window's paint handler shows again.
#include <windows.h>

#include <map>
#include <utility>

#include "runtime/drawing_surface.h"
#include "runtime/screen_units.h"
#include "runtime/win32/dib_win32.h"

namespace tolvenar::win32 {

class Win32PersistentSurface final : public ControlSurface {
 public:
  Win32PersistentSurface() = default;
  // The twips per pixel the control is laid out at (15 on the usual screen, until told).
  void SetTwipsPerPixel(double twips_per_pixel) { twips_per_pixel_ = twips_per_pixel; }
  double TwipsPerPixel() const { return twips_per_pixel_; }
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
  // A length on the image in whole pixels, from the scale mode's unit.
  int ToPixels(double value) const;
  // A length on a picture in its own pixels: pictures count twips at the usual 15 per pixel.
  int ToPicturePixels(double value) const;
  const MemoryImage* PictureImage(const Picture& picture);

  HWND window_ = nullptr;
  MemoryImage image_;
  ScaleMode scale_mode_ = ScaleMode::kTwips;
  double twips_per_pixel_ = tolvenar::TwipsPerPixel(kUsualDotsPerInch);
  BackStyle back_style_ = BackStyle::kOpaque;
  std::map<const Picture*, MemoryImage> pictures_;  // the pictures drawn so far, as bitmaps
};

}  // namespace tolvenar::win32
