#include "runtime/screen_units.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tolvenar {
namespace {

constexpr double kTwipsPerInch = 1440;
constexpr double kTwipsPerPoint = 20;
constexpr double kUsualTwipsPerPixel = kTwipsPerInch / kUsualDotsPerInch;

}  // namespace

double TwipsPerPixel(int dots_per_inch) {
  return kTwipsPerInch / (dots_per_inch > 0 ? dots_per_inch : kUsualDotsPerInch);
}

int TwipsToWindowPixels(double twips, double twips_per_pixel) {
  return static_cast<int>(std::lround(twips / twips_per_pixel));
}

int FontHeightOfPoints(double points, double twips_per_pixel) {
  return -static_cast<int>(std::lround(points * kTwipsPerPoint / twips_per_pixel));
}

double PointsOfFontHeight(long height, double twips_per_pixel) {
  return static_cast<double>(std::labs(height)) * twips_per_pixel / kTwipsPerPoint;
}

int ScaledPixels(int usual_pixels, double twips_per_pixel) {
  const int scaled =
      static_cast<int>(std::lround(usual_pixels * kUsualTwipsPerPixel / twips_per_pixel));
  return usual_pixels >= 1 ? std::max(1, scaled) : scaled;
}

}  // namespace tolvenar
