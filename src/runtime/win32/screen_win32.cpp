#include "runtime/win32/screen_win32.h"

#include "runtime/screen_units.h"
#include "runtime/win32/handles.h"

namespace tolvenar::win32 {

int ScreenDotsPerInch(int axis) {
  const ScopedDc screen(nullptr);
  const int dots_per_inch = screen ? GetDeviceCaps(screen.get(), axis) : 0;
  return dots_per_inch > 0 ? dots_per_inch : kUsualDotsPerInch;
}

double ScreenTwipsPerPixel(int axis) { return TwipsPerPixel(ScreenDotsPerInch(axis)); }

}  // namespace tolvenar::win32
