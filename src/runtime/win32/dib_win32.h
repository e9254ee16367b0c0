#pragma once
// Device-independent bitmaps: a 32-bit top-down DIB section whose pixels the program writes
// directly, made blank or from a decoded picture, and the same DIB selected into a memory DC.
#include <windows.h>

#include <cstdint>

#include "runtime/picture.h"
#include "runtime/win32/handles.h"

namespace tolvenar::win32 {

// A pixel of a DIB: 0x00RRGGBB.
constexpr std::uint32_t DibPixel(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return (static_cast<std::uint32_t>(red) << 16) | (static_cast<std::uint32_t>(green) << 8) | blue;
}

class Dib {
 public:
  Dib() = default;
  // All pixels 0; empty when either side is not positive or the section cannot be made.
  Dib(int width, int height);
  // The picture's pixels; empty when the picture has none or its bytes do not match its size.
  static Dib FromPicture(const Picture& picture);
  Dib(const Dib&) = delete;
  Dib& operator=(const Dib&) = delete;
  Dib(Dib&& other) noexcept;
  Dib& operator=(Dib&& other) noexcept;
  ~Dib() = default;

  explicit operator bool() const { return pixels_ != nullptr; }
  HBITMAP bitmap() const { return bitmap_.get(); }
  int width() const { return width_; }
  int height() const { return height_; }
  // Rows top to bottom; GDI drawing into the bitmap is seen here after GdiFlush.
  std::uint32_t* pixels() const { return pixels_; }
  // The header that describes pixels(), for the functions that take bits and a header.
  BITMAPINFO Info() const;
  void Fill(std::uint32_t pixel);

 private:
  UniqueBitmap bitmap_;
  std::uint32_t* pixels_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

// A DIB selected into a memory DC of its own, for GDI to draw into or copy from.
class MemoryImage {
 public:
  MemoryImage() = default;
  // A blank image of the given size.
  MemoryImage(int width, int height) : MemoryImage(Dib(width, height)) {}
  explicit MemoryImage(Dib dib);
  MemoryImage(const MemoryImage&) = delete;
  MemoryImage& operator=(const MemoryImage&) = delete;
  MemoryImage(MemoryImage&& other) noexcept;
  MemoryImage& operator=(MemoryImage&& other) noexcept;
  ~MemoryImage();

  HDC dc() const { return dc_.get(); }
  int width() const { return dib_.width(); }
  int height() const { return dib_.height(); }
  explicit operator bool() const { return dc_ && dib_; }
  // The pixel as 0x00RRGGBB; 0 outside.
  std::uint32_t Pixel(int x, int y) const;

 private:
  void Release();
  Dib dib_;
  UniqueMemoryDc dc_;
  HGDIOBJ previous_ = nullptr;
};

}  // namespace tolvenar::win32
