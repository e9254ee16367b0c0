#include "runtime/win32/dib_win32.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace tolvenar::win32 {
namespace {

BITMAPINFO TopDownHeader(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

}  // namespace

Dib::Dib(int width, int height) {
  if (width <= 0 || height <= 0) return;
  const BITMAPINFO info = TopDownHeader(width, height);
  void* bits = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits) return;
  bitmap_ = std::move(bitmap);
  pixels_ = static_cast<std::uint32_t*>(bits);
  width_ = width;
  height_ = height;
}

Dib Dib::FromPicture(const Picture& picture) {
  if (picture.width <= 0 || picture.height <= 0 ||
      picture.rgb.size() != static_cast<std::size_t>(picture.width) * picture.height * 3) {
    return {};
  }
  Dib dib(picture.width, picture.height);
  if (!dib) return dib;
  const std::size_t count = static_cast<std::size_t>(picture.width) * picture.height;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* rgb = &picture.rgb[i * 3];
    dib.pixels_[i] = DibPixel(rgb[0], rgb[1], rgb[2]);
  }
  return dib;
}

Dib::Dib(Dib&& other) noexcept { *this = std::move(other); }

Dib& Dib::operator=(Dib&& other) noexcept {
  if (this != &other) {
    bitmap_ = std::move(other.bitmap_);
    pixels_ = std::exchange(other.pixels_, nullptr);
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
  }
  return *this;
}

BITMAPINFO Dib::Info() const { return TopDownHeader(width_, height_); }

void Dib::Fill(std::uint32_t pixel) {
  if (!pixels_) return;
  std::fill(pixels_, pixels_ + static_cast<std::size_t>(width_) * height_, pixel);
}

MemoryImage::MemoryImage(Dib dib) {
  if (!dib) return;
  UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  if (!dc) return;
  previous_ = SelectObject(dc.get(), dib.bitmap());
  dc_ = std::move(dc);
  dib_ = std::move(dib);
}

MemoryImage::MemoryImage(MemoryImage&& other) noexcept { *this = std::move(other); }

MemoryImage& MemoryImage::operator=(MemoryImage&& other) noexcept {
  if (this != &other) {
    Release();
    dib_ = std::move(other.dib_);
    dc_ = std::move(other.dc_);
    previous_ = std::exchange(other.previous_, nullptr);
  }
  return *this;
}

MemoryImage::~MemoryImage() { Release(); }

void MemoryImage::Release() {
  // The bitmap leaves the DC before either is deleted.
  if (dc_ && previous_) SelectObject(dc_.get(), previous_);
  previous_ = nullptr;
  dc_.reset();
  dib_ = Dib();
}

std::uint32_t MemoryImage::Pixel(int x, int y) const {
  if (!dib_ || x < 0 || y < 0 || x >= width() || y >= height()) return 0;
  GdiFlush();
  return dib_.pixels()[static_cast<std::size_t>(y) * width() + x] & 0x00FFFFFF;
}

}  // namespace tolvenar::win32
