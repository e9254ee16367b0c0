#include "runtime/linux/cairo_surfaces_linux.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "runtime/emulation/raster.h"

namespace tolvenar::linux_port {
namespace {

std::uint32_t Pixel(Colour c) {
  return (static_cast<std::uint32_t>(c.red) << 16) | (static_cast<std::uint32_t>(c.green) << 8) |
         c.blue;
}

std::uint32_t* Row(cairo_surface_t* image, int y) {
  unsigned char* data = cairo_image_surface_get_data(image);
  return reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) *
                                                     cairo_image_surface_get_stride(image));
}

}  // namespace

UniqueCairoSurface MakeImage(int width, int height, Colour fill) {
  if (width <= 0 || height <= 0) return {};
  UniqueCairoSurface image(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height));
  if (cairo_surface_status(image.get()) != CAIRO_STATUS_SUCCESS) return {};
  cairo_surface_flush(image.get());
  for (int y = 0; y < height; ++y) std::fill_n(Row(image.get(), y), width, Pixel(fill));
  cairo_surface_mark_dirty(image.get());
  return image;
}

UniqueCairoSurface ImageOfPicture(const Picture& picture) {
  UniqueCairoSurface image = MakeImage(picture.width, picture.height, {});
  if (!image) return {};
  cairo_surface_flush(image.get());
  for (int y = 0; y < picture.height; ++y) {
    std::uint32_t* row = Row(image.get(), y);
    const std::uint8_t* rgb = picture.rgb.data() + static_cast<std::size_t>(y) * picture.width * 3;
    for (int x = 0; x < picture.width; ++x, rgb += 3) row[x] = Pixel({rgb[0], rgb[1], rgb[2]});
  }
  cairo_surface_mark_dirty(image.get());
  return image;
}

void PutPixel(cairo_surface_t* image, int x, int y, Colour colour) {
  Row(image, y)[x] = Pixel(colour);
}

Colour PixelAt(cairo_surface_t* image, int x, int y) {
  const std::uint32_t p = Row(image, y)[x];
  return {static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
          static_cast<std::uint8_t>(p)};
}

void StretchImage(cairo_surface_t* dest, int dest_x, int dest_y, int dest_width, int dest_height,
                  cairo_surface_t* source, int source_x, int source_y, int source_width,
                  int source_height) {
  if (dest_width <= 0 || dest_height <= 0 || source_width <= 0 || source_height <= 0) return;
  const int dest_w = cairo_image_surface_get_width(dest);
  const int dest_h = cairo_image_surface_get_height(dest);
  const int source_w = cairo_image_surface_get_width(source);
  const int source_h = cairo_image_surface_get_height(source);
  cairo_surface_flush(dest);
  cairo_surface_flush(source);
  for (int dy = 0; dy < dest_height; ++dy) {
    const int y = dest_y + dy;
    const int sy = source_y + StretchSourceIndex(dy, dest_height, source_height);
    if (y < 0 || y >= dest_h || sy < 0 || sy >= source_h) continue;
    std::uint32_t* to = Row(dest, y);
    const std::uint32_t* from = Row(source, sy);
    for (int dx = 0; dx < dest_width; ++dx) {
      const int x = dest_x + dx;
      const int sx = source_x + StretchSourceIndex(dx, dest_width, source_width);
      if (x < 0 || x >= dest_w || sx < 0 || sx >= source_w) continue;
      to[x] = from[sx];
    }
  }
  cairo_surface_mark_dirty(dest);
}

CairoRuledSurface::CairoRuledSurface(int width, int height, double twips_per_pixel_x,
                                     double twips_per_pixel_y, Colour back)
    : width_(width),
      height_(height),
      tpp_x_(twips_per_pixel_x),
      tpp_y_(twips_per_pixel_y),
      image_(MakeImage(width, height, back)) {}

// Twip rows that fall into the same pixel row overwrite each other: the last one stays.
void CairoRuledSurface::HorizontalLine(double x1, double y, double x2, Colour colour) {
  if (!image_) return;
  const int row = static_cast<int>(std::floor(y / tpp_y_));
  if (row < 0 || row >= height_) return;
  const int from = std::max(0, static_cast<int>(std::floor(x1 / tpp_x_)));
  const int to = std::min(width_ - 1, static_cast<int>(std::floor(x2 / tpp_x_)));
  cairo_surface_flush(image_.get());
  std::uint32_t* line = Row(image_.get(), row);
  for (int x = from; x <= to; ++x) line[x] = Pixel(colour);
  cairo_surface_mark_dirty(image_.get());
}

void CairoControlSurface::Resize(int width, int height) {
  UniqueCairoSurface resized = MakeImage(width, height, kButtonFace);
  if (resized && image_) {
    const UniqueCairo cairo(cairo_create(resized.get()));
    cairo_set_source_surface(cairo.get(), image_.get(), 0, 0);
    cairo_paint(cairo.get());
  }
  image_ = std::move(resized);
  width_ = image_ ? width : 0;
  height_ = image_ ? height : 0;
}

bool CairoControlSurface::Clear() {
  if (!image_) return false;
  image_ = MakeImage(width_, height_, kButtonFace);
  return static_cast<bool>(image_);
}

bool CairoControlSurface::SetScaleMode(ScaleMode mode) {
  if (mode != ScaleMode::kTwips && mode != ScaleMode::kPixels) return false;
  scale_mode_ = mode;
  return true;
}

double CairoControlSurface::ScaleWidth() {
  return scale_mode_ == ScaleMode::kPixels ? width_ : WidthTwips();
}

double CairoControlSurface::ScaleHeight() {
  return scale_mode_ == ScaleMode::kPixels ? height_ : HeightTwips();
}

// Each rectangle spans two vertices in either order; its far edges are left out.
bool CairoControlSurface::FillGradient(const TriVertex* vertices, std::uint32_t vertex_count,
                                       const GradientRectangle* rectangles,
                                       std::uint32_t rectangle_count, bool vertical) {
  if (!image_ || vertex_count == 0 || rectangle_count == 0) return false;
  cairo_surface_flush(image_.get());
  for (std::uint32_t r = 0; r < rectangle_count; ++r) {
    if (rectangles[r].upper_left >= vertex_count || rectangles[r].lower_right >= vertex_count) {
      return false;
    }
    const TriVertex* a = &vertices[rectangles[r].upper_left];
    const TriVertex* b = &vertices[rectangles[r].lower_right];
    if (vertical ? a->y > b->y : a->x > b->x) std::swap(a, b);
    const int left = std::max(0, std::min(a->x, b->x));
    const int right = std::min(width_, std::max(a->x, b->x));
    const int top = std::max(0, std::min(a->y, b->y));
    const int bottom = std::min(height_, std::max(a->y, b->y));
    const std::int32_t length = vertical ? b->y - a->y : b->x - a->x;
    for (int y = top; y < bottom; ++y) {
      std::uint32_t* line = Row(image_.get(), y);
      for (int x = left; x < right; ++x) {
        line[x] = Pixel(GradientColourAt(*a, *b, vertical ? y - a->y : x - a->x, length));
      }
    }
  }
  cairo_surface_mark_dirty(image_.get());
  return true;
}

int CairoControlSurface::ToPixels(double value) const {
  const double pixels = scale_mode_ == ScaleMode::kTwips ? value / twips_per_pixel_ : value;
  return static_cast<int>(std::lround(pixels));
}

// Pictures count twips at the usual 15 per pixel, whatever the screen.
int CairoControlSurface::ToPicturePixels(double value) const {
  const double pixels =
      scale_mode_ == ScaleMode::kTwips ? value / tolvenar::TwipsPerPixel(kUsualDotsPerInch) : value;
  return static_cast<int>(std::lround(pixels));
}

bool CairoControlSurface::DrawPicture(const Picture& picture, const PicturePlacement& placement) {
  if (!image_) return false;
  auto found = pictures_.find(&picture);
  if (found == pictures_.end()) {
    UniqueCairoSurface source = ImageOfPicture(picture);
    if (!source) return false;
    found = pictures_.emplace(&picture, std::move(source)).first;
  }
  StretchImage(image_.get(), ToPixels(placement.x), ToPixels(placement.y),
               ToPixels(placement.width), ToPixels(placement.height), found->second.get(),
               ToPicturePixels(placement.source_x), ToPicturePixels(placement.source_y),
               ToPicturePixels(placement.source_width), ToPicturePixels(placement.source_height));
  return true;
}

bool CairoControlSurface::Present() {
  if (!present_) return false;
  present_();
  return true;
}

bool CairoControlSurface::SetBackStyle(std::int16_t style) {
  if (style != 0 && style != 1) return false;
  back_style_ = static_cast<BackStyle>(style);
  if (present_) present_();
  return true;
}

}  // namespace tolvenar::linux_port
