#include "runtime/win32/screen_win32.h"

#include "runtime/screen_units.h"
#include "runtime/win32/handles.h"
#include "runtime/win32/system_function.h"

namespace tolvenar::win32 {
namespace {

// shcore's GetDpiForMonitor (Windows 8.1 and later) and its effective-resolution kind.
using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
constexpr int kEffectiveDpi = 0;

}  // namespace

int ScreenDotsPerInch(int axis) {
  // The windows open on the primary monitor: its resolution as it is now. The screen's device
  // context keeps the resolution of the sign-in, and is all an older system has.
  static const auto dpi_for_monitor =
      SystemFunction<GetDpiForMonitorFunction>("shcore.dll", "GetDpiForMonitor");
  UINT x = 0, y = 0;
  if (dpi_for_monitor &&
      SUCCEEDED(dpi_for_monitor(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY),
                                kEffectiveDpi, &x, &y))) {
    const UINT dots_per_inch = axis == LOGPIXELSX ? x : y;
    if (dots_per_inch > 0) return static_cast<int>(dots_per_inch);
  }
  const ScopedDc screen(nullptr);
  const int dots_per_inch = screen ? GetDeviceCaps(screen.get(), axis) : 0;
  return dots_per_inch > 0 ? dots_per_inch : kUsualDotsPerInch;
}

double ScreenTwipsPerPixel(int axis) { return TwipsPerPixel(ScreenDotsPerInch(axis)); }

}  // namespace tolvenar::win32
