#pragma once
// Lengths on a screen of a given resolution: twips (1440 to the inch), pixels and font points. The
// windows are designed in twips and pictures and lines in pixels of the usual 96-dpi screen; on a
// finer screen every length grows by the same factor, so that the whole window keeps its look.
namespace tolvenar {

inline constexpr int kUsualDotsPerInch = 96;

// Twips per pixel at `dots_per_inch` (15 at 96); a resolution the platform does not give (zero or
// less) counts as the usual one.
double TwipsPerPixel(int dots_per_inch);
// A length in twips as whole pixels, halves away from zero (the platform's own rounding of window
// positions).
int TwipsToWindowPixels(double twips, double twips_per_pixel);
// The character height in pixels of a font of `points` points on a screen of `twips_per_pixel`:
// negative, as the platform asks for a character (not a cell) height.
int FontHeightOfPoints(double points, double twips_per_pixel);
// The size in points of a font whose height is `height` pixels (cell or character height).
double PointsOfFontHeight(long height, double twips_per_pixel);
// A length drawn in pixels on the usual screen (a picture's side, a line's width), scaled to the
// screen of `twips_per_pixel`; never less than one pixel for a length of at least one.
int ScaledPixels(int usual_pixels, double twips_per_pixel);

}  // namespace tolvenar
