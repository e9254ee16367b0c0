#include "runtime/picture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tolvenar {
namespace {

using namespace std::string_literals;

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

// A PNG chunk: length, type, data and a CRC the decoder does not check.
std::string Chunk(const std::string& type, const std::string& data) {
  const auto size = static_cast<std::uint32_t>(data.size());
  std::string chunk;
  for (int shift : {24, 16, 8, 0}) chunk += static_cast<char>((size >> shift) & 0xFF);
  return chunk + type + data + std::string(4, '\0');
}

TEST(DecodePicture, ACorruptStreamNeverTurnsHeapContentsIntoPixels) {
  // 4 x 3 pixels, one bit each from a palette of red and white. The deflate stream ends with a
  // back-reference through distance code 30, which deflate does not define and the decoder reads
  // as a distance of 0: a copy of bytes not yet written.
  const std::string png =
      "\x89PNG\r\n\x1a\n"s + Chunk("IHDR", "\0\0\0\x04\0\0\0\x03\x01\x03\0\0\0"s) +
      Chunk("PLTE", "\xff\0\0\xff\xff\xff"s) +
      Chunk("IDAT", "\x08\xd7\x63\x64\x62\x01\x7d\x00\x06\x00\x01"s) + Chunk("IEND", "");
  const auto first = DecodePicture(png);
  ASSERT_TRUE(first);
  std::vector<std::string> heap_noise;
  for (int i = 0; i < 64; ++i) heap_noise.emplace_back(64, static_cast<char>(0xA5));
  heap_noise.clear();
  const auto second = DecodePicture(png);
  ASSERT_TRUE(second);
  EXPECT_EQ(first->rgb, second->rgb);
  const std::vector<std::uint8_t> red = {0xff, 0, 0};
  for (std::size_t i = 0; i < first->rgb.size(); i += 3) {
    EXPECT_EQ(std::vector<std::uint8_t>(first->rgb.begin() + i, first->rgb.begin() + i + 3), red)
        << "pixel " << i / 3;
  }
}

}  // namespace
}  // namespace tolvenar
