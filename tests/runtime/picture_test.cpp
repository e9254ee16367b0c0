#include "runtime/picture.h"

#include <gtest/gtest.h>

namespace tolvenar {
namespace {

Picture Checker(int width, int height) {
  Picture p;
  p.width = width;
  p.height = height;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      p.rgb.push_back(static_cast<std::uint8_t>(x * 40));
      p.rgb.push_back(static_cast<std::uint8_t>(y * 40));
      p.rgb.push_back(static_cast<std::uint8_t>((x + y) % 2 ? 255 : 0));
    }
  return p;
}

TEST(Bmp24, RoundTripsThroughTheDecoderWithRowPadding) {
  for (int width : {1, 2, 3, 4, 5}) {
    const Picture original = Checker(width, 3);
    const std::string bmp = EncodeBmp24(original);
    const std::size_t row = (width * 3 + 3) / 4 * 4;
    ASSERT_EQ(bmp.size(), 54 + row * 3) << width;
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(static_cast<unsigned char>(bmp[28]), 24u);  // bits per pixel
    const auto decoded = DecodePicture(bmp);
    ASSERT_TRUE(decoded) << width;
    EXPECT_EQ(decoded->width, width);
    EXPECT_EQ(decoded->height, 3);
    EXPECT_EQ(decoded->rgb, original.rgb) << width;
  }
}

TEST(Bmp24, BottomRowComesFirstInBgrOrder) {
  Picture p;
  p.width = 1;
  p.height = 2;
  p.rgb = {1, 2, 3, 4, 5, 6};  // top pixel (1,2,3), bottom pixel (4,5,6)
  const std::string bmp = EncodeBmp24(p);
  EXPECT_EQ(bmp.substr(54, 3), std::string("\x06\x05\x04"));
  EXPECT_EQ(bmp.substr(58, 3), std::string("\x03\x02\x01"));
}

TEST(DecodePicture, RefusesWhatIsNoPicture) {
  EXPECT_FALSE(DecodePicture(""));
  EXPECT_FALSE(DecodePicture("not a picture at all"));
  EXPECT_FALSE(DecodePicture(std::string("BM\0\0\0\0", 6)));
}

TEST(DecodePicture, RefusesAHeaderClaimingAHugePicture) {
  Picture tall;
  tall.width = 1;
  tall.height = 1;
  tall.rgb = {1, 2, 3};
  std::string bmp = EncodeBmp24(tall);
  bmp[22] = 0x03;  // height 0x01020003 rows, with one row of data
  bmp[24] = 0x02;
  bmp[25] = 0x01;
  EXPECT_FALSE(DecodePicture(bmp));
  tall.height = kMaxPictureSide;
  tall.rgb.assign(3 * kMaxPictureSide, 7);
  EXPECT_TRUE(DecodePicture(EncodeBmp24(tall)));
}

}  // namespace
}  // namespace tolvenar
