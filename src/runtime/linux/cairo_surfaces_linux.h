#pragma once
// The drawing surfaces on cairo image surfaces (RGB24, the same pixel bytes as a 32-bit DIB): the
// image is drawn into and a widget's draw handler shows it again. The gradient and the stretch
// follow the platform's pixel rules (runtime/raster.h), which cairo's own patterns and filters do
// not give exactly.
#include <cairo.h>

#include <functional>
#include <map>

#include "runtime/drawing_surface.h"
#include "runtime/linux/owners_cairo.h"
#include "runtime/screen_units.h"

namespace tolvenar::linux_port {

// An RGB24 image of this size filled with `fill`; null when it cannot be made.
UniqueCairoSurface MakeImage(int width, int height, Colour fill);
// The picture as an RGB24 image; null when it is empty.
UniqueCairoSurface ImageOfPicture(const Picture& picture);
// Sets one pixel (no bounds check: the caller clips).
void PutPixel(cairo_surface_t* image, int x, int y, Colour colour);
Colour PixelAt(cairo_surface_t* image, int x, int y);
// Copies `source_box` of `source` into `dest_box` of `dest`, nearest neighbour; boxes in pixels,
// clipped to the destination.
void StretchImage(cairo_surface_t* dest, int dest_x, int dest_y, int dest_width, int dest_height,
                  cairo_surface_t* source, int source_x, int source_y, int source_width,
                  int source_height);

// The persistent background of a window, ruled line by line.
class CairoRuledSurface final : public RuledSurface {
 public:
  CairoRuledSurface(int width, int height, double twips_per_pixel_x, double twips_per_pixel_y,
                    Colour back);
  double WidthTwips() override { return width_ * tpp_x_; }
  double HeightTwips() override { return height_ * tpp_y_; }
  void HorizontalLine(double x1, double y, double x2, Colour colour) override;
  cairo_surface_t* image() const { return image_.get(); }

 private:
  int width_;
  int height_;
  double tpp_x_;
  double tpp_y_;
  UniqueCairoSurface image_;
};

// A user control's image: the button face where nothing is drawn, gradients and pictures drawn
// into it, shown by `present` (the widget queues a redraw).
class CairoControlSurface final : public ControlSurface {
 public:
  explicit CairoControlSurface(std::function<void()> present) : present_(std::move(present)) {}
  void SetTwipsPerPixel(double twips_per_pixel) { twips_per_pixel_ = twips_per_pixel; }
  double TwipsPerPixel() const { return twips_per_pixel_; }
  // Makes the image the given size; what was drawn stays where it fits.
  void Resize(int width, int height);
  cairo_surface_t* image() const { return image_.get(); }

  double WidthTwips() override { return width_ * twips_per_pixel_; }
  double HeightTwips() override { return height_ * twips_per_pixel_; }
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
  int ToPicturePixels(double value) const;

  std::function<void()> present_;
  int width_ = 0;
  int height_ = 0;
  UniqueCairoSurface image_;
  ScaleMode scale_mode_ = ScaleMode::kTwips;
  double twips_per_pixel_ = tolvenar::TwipsPerPixel(kUsualDotsPerInch);
  BackStyle back_style_ = BackStyle::kOpaque;
  std::map<const Picture*, UniqueCairoSurface> pictures_;
};

// The face of a button where nothing covers it.
inline constexpr Colour kButtonFace{240, 240, 240};

}  // namespace tolvenar::linux_port
