#pragma once
// Labels drawn with Pango at the pixel sizes of the Windows build: a font of n points is n * 20 /
// twips-per-pixel pixels high (its em, as the platform's negative character height asks), smoothed
// or crisp as the face's own table asks for that size, as the platform's rasteriser does. The
// Windows faces map to the CJK faces installed here.
#include <cairo.h>

#include <string>
#include <string_view>
#include <utility>

#include "runtime/drawing_surface.h"
#include "runtime/label.h"
#include "runtime/pixel_geometry.h"

namespace tolvenar::linux_port {

// The font families (a Pango family list) that stand in for a face name of the Windows build.
std::string FamiliesOfFace(std::string_view face_name);

enum class TextAlign { kLeft, kCentre };

struct TextStyle {
  FontDescription font;
  double twips_per_pixel = 15;
  TextAlign align = TextAlign::kLeft;
  bool wrap = false;  // breaks lines at words (and anywhere in a word too long for the box)
};

// Draws UTF-8 text from the top of `box` (pixels on `cairo`'s user space), clipped to it.
void DrawText(cairo_t* cairo, std::string_view text, const TextStyle& style, const PixelRect& box,
              Colour colour);
// The width and height in pixels the text takes on one line.
std::pair<int, int> MeasureText(std::string_view text, const TextStyle& style);

}  // namespace tolvenar::linux_port
