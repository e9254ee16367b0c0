// make_skins <folder>: draws the six 64 x 25 button skins and writes them as 24-bit BMP files
// normal.bmp ... disable.bmp into the folder.
// Only the 4-pixel outer ring of a skin reaches the screen; the inside is a plain face.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "runtime/picture.h"

namespace {

using tolvenar::Picture;

constexpr int kWidth = 64;
constexpr int kHeight = 25;

class Canvas {
 public:
  Canvas() {
    picture_.width = kWidth;
    picture_.height = kHeight;
    picture_.rgb.assign(kWidth * kHeight * 3, 0);
  }
  void Set(int x, int y, std::uint32_t rgb) {
    std::uint8_t* p = &picture_.rgb[(y * kWidth + x) * 3];
    p[0] = static_cast<std::uint8_t>(rgb >> 16);
    p[1] = static_cast<std::uint8_t>(rgb >> 8);
    p[2] = static_cast<std::uint8_t>(rgb);
  }
  void Row(int y, int x0, int x1, std::uint32_t rgb) {
    for (int x = x0; x <= x1; ++x) Set(x, y, rgb);
  }
  void Column(int x, int y0, int y1, std::uint32_t rgb) {
    for (int y = y0; y <= y1; ++y) Set(x, y, rgb);
  }
  void Fill(std::uint32_t rgb) {
    for (int y = 0; y < kHeight; ++y) Row(y, 0, kWidth - 1, rgb);
  }
  const Picture& picture() const { return picture_; }

 private:
  Picture picture_;
};

// The colour a fraction num/den of the way from a to b, rounded to the nearest.
std::uint32_t Mix(std::uint32_t a, std::uint32_t b, int num, int den) {
  std::uint32_t out = 0;
  for (int shift = 16; shift >= 0; shift -= 8) {
    const int ca = (a >> shift) & 0xFF;
    const int cb = (b >> shift) & 0xFF;
    const int c = ca + ((cb - ca) * num * 2 + (cb >= ca ? den : -den)) / (2 * den);
    out |= static_cast<std::uint32_t>(c) << shift;
  }
  return out;
}

// A column from y0 to y1 shading through the given stops, evenly spaced.
void ShadedColumn(Canvas& c, int x, int y0, int y1, const std::vector<std::uint32_t>& stops) {
  const int segments = static_cast<int>(stops.size()) - 1;
  const int span = y1 - y0;
  for (int y = y0; y <= y1; ++y) {
    const int pos = (y - y0) * segments;  // in units of span
    int segment = span == 0 ? 0 : pos / span;
    if (segment >= segments) segment = segments - 1;
    const int within = pos - segment * span;
    c.Set(x, y, Mix(stops[segment], stops[segment + 1], within, span));
  }
}

// Beige halo around the frame: one ring `inset` pixels in.
void Halo(Canvas& c, int inset) {
  const int l = inset, t = inset, r = kWidth - 1 - inset, b = kHeight - 1 - inset;
  c.Row(t, l, r, 0xE0DCC9);
  c.Row(b, l, r, 0xF8F7F0);
  c.Column(l, t + 1, b - 1, 0xE2DECB);
  c.Column(r, t + 1, b - 1, 0xF0EEE0);
}

// The dark blue frame `inset` pixels in, its corners rounded with blended pixels.
void Frame(Canvas& c, int inset, std::uint32_t colour, std::uint32_t corner_top,
           std::uint32_t corner_bottom, std::uint32_t inner_top, std::uint32_t inner_bottom) {
  const int l = inset, t = inset, r = kWidth - 1 - inset, b = kHeight - 1 - inset;
  c.Row(t, l, r, colour);
  c.Row(b, l, r, colour);
  c.Column(l, t, b, colour);
  c.Column(r, t, b, colour);
  c.Set(l, t, corner_top);
  c.Set(r, t, corner_top);
  c.Set(l, b, corner_bottom);
  c.Set(r, b, corner_bottom);
  c.Set(l + 1, t + 1, inner_top);
  c.Set(r - 1, t + 1, inner_top);
  c.Set(l + 1, b - 1, inner_bottom);
  c.Set(r - 1, b - 1, inner_bottom);
}

// The outer halo and blue frame shared by the four raised skins.
void RaisedRing(Canvas& c) {
  Halo(c, 0);
  Frame(c, 1, 0x003C74, 0x7A95A8, 0x6788A0, 0x255783, 0x164D7E);
}

// Inner two rows and columns (2 and 3 from every side) of a raised skin.
struct InnerRing {
  std::uint32_t top_rows[2];
  std::uint32_t bottom_rows[2];
  std::vector<std::uint32_t> left;
  std::vector<std::uint32_t> right;
};

void Inner(Canvas& c, const InnerRing& ring) {
  ShadedColumn(c, 2, 4, 20, ring.left);
  ShadedColumn(c, 3, 4, 20, ring.left);
  ShadedColumn(c, 60, 4, 20, ring.right);
  ShadedColumn(c, 61, 4, 20, ring.right);
  c.Row(2, 3, 60, ring.top_rows[0]);
  c.Row(3, 2, 61, ring.top_rows[1]);
  c.Row(21, 2, 61, ring.bottom_rows[0]);
  c.Row(22, 3, 60, ring.bottom_rows[1]);
}

Picture NormalSkin() {
  Canvas c;
  c.Fill(0xF4F4F0);
  Inner(c,
        {{0xF3F3EE, 0xF3F3EE}, {0xE2DFD6, 0xD6D0C5}, {0xFDFDFB, 0xEBEBE5}, {0xFBFBF9, 0xE0DDD4}});
  RaisedRing(c);
  return c.picture();
}

Picture HighLightSkin() {
  Canvas c;
  c.Fill(0xF4F4F0);
  Inner(c, {{0xFFF0CF, 0xFDD889},
            {0xF8B230, 0xE59700},
            {0xFCD279, 0xFCCA69, 0xF8B435},
            {0xFCD279, 0xFCCA69, 0xF8B435}});
  RaisedRing(c);
  return c.picture();
}

Picture SelectedSkin() {
  Canvas c;
  c.Fill(0xF4F4F0);
  Inner(c, {{0xCEE7FF, 0xCEE7FF},
            {0x6982EE, 0x6982EE},
            {0xB7D0F4, 0xA9C5EF, 0x8BADE4},
            {0xB7D0F4, 0xA9C5EF, 0x8BADE4}});
  RaisedRing(c);
  return c.picture();
}

Picture PressedSkin() {
  Canvas c;
  c.Fill(0xE6E4DA);
  // Pressed in: light beige outside, the halo and the frame one pixel further in, shade at the
  // top left and light at the bottom right.
  c.Row(0, 0, kWidth - 1, 0xECE9D8);
  c.Row(kHeight - 1, 0, kWidth - 1, 0xECE9D8);
  c.Column(0, 0, kHeight - 1, 0xECE9D8);
  c.Column(kWidth - 1, 0, kHeight - 1, 0xECE9D8);
  Halo(c, 1);
  Frame(c, 2, 0x003C74, 0x7A95A8, 0x6788A0, 0x255783, 0x164D7E);
  c.Column(3, 4, 20, 0xD7D4CB);
  c.Column(60, 4, 20, 0xE4E3DC);
  c.Row(3, 4, 59, 0xD1CCC1);
  c.Row(21, 4, 59, 0xF2F1EE);
  return c.picture();
}

Picture DisableSkin() {
  Canvas c;
  c.Fill(0xF5F4EA);
  c.Row(0, 0, kWidth - 1, 0xECE9D8);
  c.Row(kHeight - 1, 0, kWidth - 1, 0xECE9D8);
  c.Column(0, 0, kHeight - 1, 0xECE9D8);
  c.Column(kWidth - 1, 0, kHeight - 1, 0xECE9D8);
  Frame(c, 1, 0xC9C7BA, 0xD8D5C7, 0xD8D5C7, 0xCBC9BC, 0xCBC9BC);
  return c.picture();
}

struct Output {
  const char* file;
  Picture picture;
};

std::vector<Output> AllSkins() {
  return {{"normal.bmp", NormalSkin()},
          {"highlight.bmp", HighLightSkin()},
          {"highlightselect.bmp", HighLightSkin()},
          {"selected.bmp", SelectedSkin()},
          {"pressed.bmp", PressedSkin()},
          {"disable.bmp", DisableSkin()}};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: make_skins <folder>\n", stderr);
    return 2;
  }
  const std::string folder = argv[1];
  int failures = 0;
  for (const Output& output : AllSkins()) {
    const std::string path = folder + "/" + output.file;
    const std::string bytes = tolvenar::EncodeBmp24(output.picture);
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      ++failures;
    }
  }
  return failures == 0 ? 0 : 1;
}
