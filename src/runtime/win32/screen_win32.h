#pragma once
// The screen's resolution, asked in one place: dots per inch, twips per pixel and font heights.
#include <windows.h>

namespace tolvenar::win32 {

// Dots per inch of the screen along LOGPIXELSX or LOGPIXELSY; 96 where the screen does not say.
int ScreenDotsPerInch(int axis);
// Twips per pixel of the screen along LOGPIXELSX or LOGPIXELSY (1440 twips to the inch).
double ScreenTwipsPerPixel(int axis);
// The CreateFont height of a font of `points` points at the screen's vertical resolution: a
// character height, so negative.
int FontHeightOfPoints(double points);
// The size in points of a font whose LOGFONT height is `height` (cell or character height).
double PointsOfFontHeight(LONG height);

}  // namespace tolvenar::win32
