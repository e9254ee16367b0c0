#include "runtime/screen_units.h"

#include <gtest/gtest.h>

namespace tolvenar {
namespace {

// The dialog's lengths on the screens people use: 100 %, 125 % and 150 % scaling.
TEST(ScreenUnits, EveryLengthGrowsWithTheResolution) {
  struct Case {
    int dots_per_inch;
    double twips_per_pixel;
    int client_width;   // 7440 twips
    int button_height;  // 375 twips
    int font_height;    // 9.75 points
    int mark;           // 12 pixels at 96 dpi
    int line;           // 1 pixel at 96 dpi
  } cases[] = {
      {96, 15, 496, 25, -13, 12, 1},
      {120, 12, 620, 31, -16, 15, 1},
      {144, 10, 744, 38, -20, 18, 2},
      {0, 15, 496, 25, -13, 12, 1},  // the platform gave no resolution: the usual one
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dots_per_inch);
    const double tpp = TwipsPerPixel(c.dots_per_inch);
    EXPECT_DOUBLE_EQ(tpp, c.twips_per_pixel);
    EXPECT_EQ(TwipsToWindowPixels(7440, tpp), c.client_width);
    EXPECT_EQ(TwipsToWindowPixels(375, tpp), c.button_height);
    EXPECT_EQ(FontHeightOfPoints(9.75, tpp), c.font_height);
    EXPECT_EQ(ScaledPixels(12, tpp), c.mark);
    EXPECT_EQ(ScaledPixels(1, tpp), c.line);
    EXPECT_NEAR(PointsOfFontHeight(c.font_height, tpp), 9.75, 0.5 * tpp / 20);
  }
}

TEST(ScreenUnits, ALineStaysVisibleOnACoarseScreen) {
  EXPECT_EQ(ScaledPixels(1, TwipsPerPixel(48)), 1);
  EXPECT_EQ(ScaledPixels(0, TwipsPerPixel(144)), 0);
}

}  // namespace
}  // namespace tolvenar
