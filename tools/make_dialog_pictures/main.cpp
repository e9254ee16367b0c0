// Makes the settings dialog's pictures: the two 12 x 12 choice marks (24-bit BMP), the 32 x 32
// window icon (32-bit .ico) and the pointing-hand pointer (32 x 32 monochrome .cur, hot spot
// 12,10). Deterministic: the same bytes on every run.
//   make_dialog_pictures <output folder>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "runtime/picture.h"

namespace {

using tolvenar::Picture;

struct Rgb {
  std::uint8_t r, g, b;
};

void Put(Picture& p, int x, int y, Rgb c) {
  const std::size_t at = (static_cast<std::size_t>(y) * p.width + x) * 3;
  p.rgb[at] = c.r;
  p.rgb[at + 1] = c.g;
  p.rgb[at + 2] = c.b;
}

// A 12 x 12 square mark: a one-pixel edge around a filled inside.
Picture Mark(Rgb edge, Rgb inside, Rgb shine) {
  Picture p{12, 12, std::vector<std::uint8_t>(12 * 12 * 3)};
  for (int y = 0; y < 12; ++y) {
    for (int x = 0; x < 12; ++x) {
      const bool on_edge = x == 0 || y == 0 || x == 11 || y == 11;
      Put(p, x, y, on_edge ? edge : (x + y < 8 ? shine : inside));
    }
  }
  return p;
}

void AppendU16(std::string& out, std::uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}
void AppendU32(std::string& out, std::uint32_t v) {
  AppendU16(out, v & 0xFFFF);
  AppendU16(out, v >> 16);
}

void AppendInfoHeader(std::string& out, int width, int height, int bits, std::uint32_t image_size,
                      std::uint32_t colours_used) {
  AppendU32(out, 40);
  AppendU32(out, static_cast<std::uint32_t>(width));
  AppendU32(out, static_cast<std::uint32_t>(height * 2));  // colour image and mask
  AppendU16(out, 1);
  AppendU16(out, static_cast<std::uint32_t>(bits));
  AppendU32(out, 0);  // BI_RGB
  AppendU32(out, image_size);
  AppendU32(out, 0);
  AppendU32(out, 0);
  AppendU32(out, colours_used);
  AppendU32(out, 0);
}

// The icon: a night skyline, dark blue sky, towers with lit windows; fully opaque.
std::string Icon() {
  constexpr int kSize = 32;
  std::vector<Rgb> pixels(kSize * kSize);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const auto sky = static_cast<std::uint8_t>(20 + y * 3);
      pixels[y * kSize + x] = {0, static_cast<std::uint8_t>(sky / 2), sky};
    }
  }
  struct Tower {
    int left, right, top;
  } towers[] = {{1, 7, 14}, {8, 13, 6}, {14, 18, 11}, {19, 25, 3}, {26, 30, 16}};
  for (const Tower& t : towers) {
    for (int y = t.top; y < kSize; ++y) {
      for (int x = t.left; x <= t.right; ++x) {
        const bool window = (x - t.left) % 2 == 1 && (y - t.top) % 3 == 1 && x < t.right;
        const bool lit = window && ((x * 7 + y * 13) % 5 != 0);
        pixels[y * kSize + x] = lit ? Rgb{250, 220, 120} : Rgb{30, 34, 48};
      }
    }
  }
  const std::uint32_t xor_size = kSize * kSize * 4;
  const std::uint32_t and_size = kSize * 4;  // one bit per pixel, rows of 4 bytes
  std::string out;
  AppendU16(out, 0);
  AppendU16(out, 1);  // icon
  AppendU16(out, 1);
  out += static_cast<char>(kSize);
  out += static_cast<char>(kSize);
  out += '\0';  // no palette
  out += '\0';
  AppendU16(out, 1);   // planes
  AppendU16(out, 32);  // bits per pixel
  AppendU32(out, 40 + xor_size + and_size);
  AppendU32(out, 22);
  AppendInfoHeader(out, kSize, kSize, 32, xor_size + and_size, 0);
  for (int y = kSize - 1; y >= 0; --y) {  // bottom-up
    for (int x = 0; x < kSize; ++x) {
      const Rgb c = pixels[y * kSize + x];
      out += static_cast<char>(c.b);
      out += static_cast<char>(c.g);
      out += static_cast<char>(c.r);
      out += static_cast<char>(0xFF);
    }
  }
  out.append(and_size, '\0');  // every pixel opaque
  return out;
}

// The pointing hand: white with a black outline, the index finger pointing up, its tip at the
// hot spot.
std::string PointingHand() {
  constexpr int kSize = 32;
  constexpr int kHotX = 12, kHotY = 10;
  enum Cell { kClear, kWhite, kBlack };
  std::vector<Cell> cells(kSize * kSize, kClear);
  struct Box {
    int left, top, right, bottom;
  } shapes[] = {
      {12, 10, 13, 20},  // index finger
      {15, 14, 16, 20},  // middle finger
      {18, 15, 19, 20},  // ring finger
      {21, 17, 22, 20},  // little finger
      {12, 21, 22, 27},  // palm
      {8, 19, 11, 23},   // thumb
      {10, 24, 11, 25},  // thumb root
      {13, 28, 21, 29},  // wrist
  };
  for (const Box& b : shapes)
    for (int y = b.top; y <= b.bottom; ++y)
      for (int x = b.left; x <= b.right; ++x) cells[y * kSize + x] = kWhite;
  std::vector<Cell> outlined = cells;
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      if (cells[y * kSize + x] != kClear) continue;
      const bool touches = (x > 0 && cells[y * kSize + x - 1] == kWhite) ||
                           (x < kSize - 1 && cells[y * kSize + x + 1] == kWhite) ||
                           (y > 0 && cells[(y - 1) * kSize + x] == kWhite) ||
                           (y < kSize - 1 && cells[(y + 1) * kSize + x] == kWhite);
      if (touches) outlined[y * kSize + x] = kBlack;
    }
  }
  constexpr std::uint32_t kMaskSize = kSize * 4;
  std::string out;
  AppendU16(out, 0);
  AppendU16(out, 2);  // cursor
  AppendU16(out, 1);
  out += static_cast<char>(kSize);
  out += static_cast<char>(kSize);
  out += static_cast<char>(2);  // two colours
  out += '\0';
  AppendU16(out, kHotX);
  AppendU16(out, kHotY);
  AppendU32(out, 40 + 8 + 2 * kMaskSize);
  AppendU32(out, 22);
  AppendInfoHeader(out, kSize, kSize, 1, 2 * kMaskSize, 2);
  AppendU32(out, 0x00000000);  // palette: black
  AppendU32(out, 0x00FFFFFF);  // white
  // XOR mask (1 = white), then AND mask (1 = screen shows through); rows bottom-up.
  for (int pass = 0; pass < 2; ++pass) {
    for (int y = kSize - 1; y >= 0; --y) {
      for (int byte = 0; byte < 4; ++byte) {
        std::uint8_t bits = 0;
        for (int bit = 0; bit < 8; ++bit) {
          const Cell c = outlined[y * kSize + byte * 8 + bit];
          const bool set = pass == 0 ? c == kWhite : c == kClear;
          if (set) bits |= static_cast<std::uint8_t>(0x80 >> bit);
        }
        out += static_cast<char>(bits);
      }
    }
  }
  return out;
}

bool Save(const std::string& folder, const char* name, const std::string& bytes) {
  std::ofstream file(folder + "/" + name, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!file) std::fprintf(stderr, "cannot write %s/%s\n", folder.c_str(), name);
  return static_cast<bool>(file);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: make_dialog_pictures <output folder>\n", stderr);
    return 2;
  }
  const std::string folder = argv[1];
  const Picture unselected = Mark({128, 128, 128}, {244, 244, 244}, {255, 255, 255});
  const Picture selected = Mark({0, 32, 120}, {30, 80, 210}, {90, 140, 240});
  bool ok = Save(folder, "mark_unselected.bmp", tolvenar::EncodeBmp24(unselected));
  ok = Save(folder, "mark_selected.bmp", tolvenar::EncodeBmp24(selected)) && ok;
  ok = Save(folder, "tolvenar.ico", Icon()) && ok;
  ok = Save(folder, "pointing_hand.cur", PointingHand()) && ok;
  return ok ? 0 : 1;
}
