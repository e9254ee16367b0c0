#include "scene/texels.h"

#include <gtest/gtest.h>

namespace tolvenar {
namespace {

Picture TwoByTwo() {
  Picture p;
  p.width = 2;
  p.height = 2;
  p.rgb = {0x10, 0x20, 0x30, 0x40, 0x50, 0x60,   // top row
           0x70, 0x80, 0x90, 0xA0, 0xB0, 0xC0};  // bottom row
  return p;
}

TEST(TopLevelTexels, SameSizeCopiesEveryPixelOpaque) {
  for (std::uint32_t filter : {1u, 2u}) {
    const auto texels = TopLevelTexels(TwoByTwo(), 2, 2, filter);
    ASSERT_EQ(texels.size(), 4u);
    EXPECT_EQ(texels[0], 0xFF102030u) << "filter " << filter;
    EXPECT_EQ(texels[1], 0xFF405060u) << "filter " << filter;
    EXPECT_EQ(texels[2], 0xFF708090u) << "filter " << filter;
    EXPECT_EQ(texels[3], 0xFFA0B0C0u) << "filter " << filter;
  }
}

TEST(TopLevelTexels, FilterNoneDoesNotScale) {
  const auto texels = TopLevelTexels(TwoByTwo(), 3, 3, 1);
  EXPECT_EQ(texels[0], 0xFF102030u);
  EXPECT_EQ(texels[4], 0xFFA0B0C0u);
  EXPECT_EQ(texels[2], 0u) << "outside the picture: transparent black";
  EXPECT_EQ(texels[8], 0u);
}

TEST(TopLevelTexels, PointFilterScales) {
  const auto texels = TopLevelTexels(TwoByTwo(), 4, 4, 2);
  EXPECT_EQ(texels[0], 0xFF102030u);
  EXPECT_EQ(texels[1], 0xFF102030u);
  EXPECT_EQ(texels[3], 0xFF405060u);
  EXPECT_EQ(texels[15], 0xFFA0B0C0u);
}

TEST(TopLevelTexels, EmptyPictureGivesTransparentBlack) {
  const auto texels = TopLevelTexels(Picture{}, 2, 2, 2);
  EXPECT_EQ(texels, std::vector<std::uint32_t>(4, 0));
}

}  // namespace
}  // namespace tolvenar
