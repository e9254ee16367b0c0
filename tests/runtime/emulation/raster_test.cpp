#include "runtime/emulation/raster.h"

#include <gtest/gtest.h>

#include <vector>

namespace tolvenar {
namespace {

// The source pixels the platform's stretch showed, read off the Windows build's dialog under Wine
// (a 12-pixel mark at 144 dpi; a 17-pixel skin edge on a 26-pixel side).
TEST(StretchSourceIndex, PicksThePixelsThePlatformsStretchShows) {
  const struct {
    int source, dest;
    std::vector<int> picked;
  } cases[] = {
      {12, 18, {0, 0, 1, 2, 2, 3, 4, 4, 5, 6, 6, 7, 8, 8, 9, 10, 10, 11}},
      {17, 26, {0, 0, 1,  2,  2,  3,  4,  4,  5,  6,  6,  7,  8,
                8, 9, 10, 10, 11, 12, 12, 13, 14, 14, 15, 16, 16}},
      {4, 4, {0, 1, 2, 3}},
      {1, 3, {0, 0, 0}},
  };
  for (const auto& c : cases) {
    std::vector<int> picked;
    for (int d = 0; d < c.dest; ++d) picked.push_back(StretchSourceIndex(d, c.dest, c.source));
    EXPECT_EQ(picked, c.picked) << c.source << " to " << c.dest;
  }
  EXPECT_EQ(StretchSourceIndex(3, 0, 5), 0);  // nothing to stretch over
}

// The button's gradient: white to lavender over a 24-pixel rectangle.
TEST(GradientColourAt, BlendsTheSixteenBitChannelsAndCutsThemToEightBits) {
  TriVertex white, lavender;
  white.red = white.green = white.blue = 0xFF00;
  lavender.red = 0xC600;
  lavender.green = 0xC500;
  lavender.blue = 0xD700;
  const struct {
    int position;
    Colour expected;
  } cases[] = {
      {0, {255, 255, 255}}, {1, {252, 252, 253}}, {12, {226, 226, 235}}, {23, {200, 199, 216}}};
  for (const auto& c : cases) {
    EXPECT_EQ(GradientColourAt(white, lavender, c.position, 24), c.expected) << c.position;
  }
  EXPECT_EQ(GradientColourAt(lavender, white, 0, 0), (Colour{198, 197, 215}));  // empty: the start
}

}  // namespace
}  // namespace tolvenar
