#pragma once
// The screen's resolution, asked in one place: dots per inch and twips per pixel.
#include <windows.h>

namespace tolvenar::win32 {

// Dots per inch along LOGPIXELSX or LOGPIXELSY of the primary monitor, where the windows open;
// 96 where the system does not say.
int ScreenDotsPerInch(int axis);
// Twips per pixel of the screen along LOGPIXELSX or LOGPIXELSY (1440 twips to the inch).
double ScreenTwipsPerPixel(int axis);

}  // namespace tolvenar::win32
