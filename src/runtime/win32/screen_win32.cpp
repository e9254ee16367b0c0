#include "runtime/win32/screen_win32.h"

#include <cmath>
#include <cstdlib>

#include "runtime/win32/handles.h"

namespace tolvenar::win32 {
namespace {

constexpr int kUsualDotsPerInch = 96;
constexpr double kTwipsPerInch = 1440;
constexpr double kPointsPerInch = 72;

}  // namespace

int ScreenDotsPerInch(int axis) {
  const ScopedDc screen(nullptr);
  const int dots_per_inch = screen ? GetDeviceCaps(screen.get(), axis) : 0;
  return dots_per_inch > 0 ? dots_per_inch : kUsualDotsPerInch;
}

double ScreenTwipsPerPixel(int axis) { return kTwipsPerInch / ScreenDotsPerInch(axis); }

int FontHeightOfPoints(double points) {
  return -static_cast<int>(std::lround(points * ScreenDotsPerInch(LOGPIXELSY) / kPointsPerInch));
}

double PointsOfFontHeight(LONG height) {
  return std::abs(height) * kPointsPerInch / ScreenDotsPerInch(LOGPIXELSY);
}

}  // namespace tolvenar::win32
