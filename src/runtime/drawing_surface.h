#pragma once
// Persistent drawing surfaces: what is drawn stays in an image that the platform shows again
// whenever the window needs repainting.
#include <cstdint>

#include "runtime/picture.h"

namespace tolvenar {

// A colour as (red, green, blue), 0 to 255 each.
struct Colour {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  bool operator==(const Colour& other) const {
    return red == other.red && green == other.green && blue == other.blue;
  }
};

// One gradient corner: position in pixels, channels as the 8-bit value times 256.
struct TriVertex {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::uint16_t red = 0;
  std::uint16_t green = 0;
  std::uint16_t blue = 0;
  std::uint16_t alpha = 0;
};

// A gradient rectangle spanned by two vertex indexes.
struct GradientRectangle {
  std::uint32_t upper_left = 0;
  std::uint32_t lower_right = 0;
};

enum class ScaleMode : std::int16_t { kTwips = 1, kPixels = 3 };

// Back style: opaque shows the painted image, transparent shows the container through it.
enum class BackStyle : std::int16_t { kTransparent = 0, kOpaque = 1 };

// A picture placed on the surface, in the current scale unit.
struct PicturePlacement {
  double x = 0, y = 0, width = 0, height = 0;                              // destination
  double source_x = 0, source_y = 0, source_width = 0, source_height = 0;  // within the picture
};

class DrawingSurface {
 public:
  virtual ~DrawingSurface() = default;
  // The size of the image (the window's client area) in twips.
  virtual double WidthTwips() = 0;
  virtual double HeightTwips() = 0;
};

// A surface ruled line by line: the background under a window's controls, showing through the
// transparent ones.
class RuledSurface : public DrawingSurface {
 public:
  // Draws a one-pixel horizontal line from (x1, y) to (x2, y) (twips) into the image.
  virtual void HorizontalLine(double x1, double y, double x2, Colour colour) = 0;
};

// A user control's own surface: its scale unit and back style, cleared, filled with gradients and
// pictures, and shown on request.
class ControlSurface : public DrawingSurface {
 public:
  // Fills the whole image with the background colour; false when it failed.
  virtual bool Clear() = 0;
  // The unit of later coordinates and of ScaleWidth/ScaleHeight.
  virtual bool SetScaleMode(ScaleMode mode) = 0;
  // The client size in the current unit.
  virtual double ScaleWidth() = 0;
  virtual double ScaleHeight() = 0;
  // A vertical (or horizontal) gradient fill of the given rectangles into the image, in pixels.
  virtual bool FillGradient(const TriVertex* vertices, std::uint32_t vertex_count,
                            const GradientRectangle* rectangles, std::uint32_t rectangle_count,
                            bool vertical) = 0;
  // Draws (a part of) a picture, stretched when the destination size differs from the source size.
  virtual bool DrawPicture(const Picture& picture, const PicturePlacement& placement) = 0;
  // Shows the image on the screen now.
  virtual bool Present() = 0;
  virtual BackStyle GetBackStyle() = 0;
  // False for a value that is neither 0 nor 1 (the style stays as it was).
  virtual bool SetBackStyle(std::int16_t style) = 0;
};

}  // namespace tolvenar
