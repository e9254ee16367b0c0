#include "scene/linux/raster_font_lists.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <string>
#include <vector>

#include "runtime/linux/owners_cairo.h"
#include "runtime/linux/owners_glib.h"

namespace tolvenar::linux_port {
namespace {

// The X server's "fixed" font, the overlay's font on X11, is 13 pixels from ascent to descent.
constexpr int kLineHeight = 13;
// Room around a character's cell on the scratch surface for ink outside the cell.
constexpr int kMargin = 4;

struct UnrefMetrics {
  void operator()(PangoFontMetrics* metrics) const { pango_font_metrics_unref(metrics); }
};
using UniqueMetrics = UniqueResource<PangoFontMetrics*, UnrefMetrics>;

// The face's ascent plus descent in Pango units at `size` Pango units per em; 0 when no face
// loads.
int LineHeightAt(PangoContext* context, PangoFontDescription* font, int size) {
  pango_font_description_set_absolute_size(font, size);
  const GObjectRef<PangoFont> loaded(pango_context_load_font(context, font));
  if (!loaded) return 0;
  const UniqueMetrics metrics(pango_font_get_metrics(loaded.get(), nullptr));
  return pango_font_metrics_get_ascent(metrics.get()) +
         pango_font_metrics_get_descent(metrics.get());
}

// The Latin-1 characters that have a glyph: no controls.
bool Printable(int code) { return (code >= 0x20 && code < 0x7F) || (code >= 0xA0 && code <= 0xFF); }

std::string Utf8(int code) {
  if (code < 0x80) return std::string(1, static_cast<char>(code));
  return {static_cast<char>(0xC0 | code >> 6), static_cast<char>(0x80 | (code & 0x3F))};
}

// Compiles into the open list a glBitmap of the ink on `surface` (A8, drawn without smoothing),
// whose character's origin lies at (kMargin, baseline), moving the raster position by `advance`.
void CompileBitmap(cairo_surface_t* surface, int baseline, int advance,
                   std::vector<GLubyte>& bits) {
  cairo_surface_flush(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const int width = cairo_image_surface_get_width(surface);
  const int height = cairo_image_surface_get_height(surface);
  const auto inked = [&](int x, int y) { return data[y * stride + x] >= 0x80; };
  int left = width, right = 0, top = height, bottom = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (!inked(x, y)) continue;
      left = std::min(left, x);
      right = std::max(right, x + 1);
      top = std::min(top, y);
      bottom = std::max(bottom, y + 1);
    }
  }
  if (left >= right) {
    // One blank pixel rather than an empty bitmap, whose advance Mesa drops when the lists are
    // called with glCallLists.
    static constexpr GLubyte kBlank = 0;
    glBitmap(1, 1, 0, 0, static_cast<GLfloat>(advance), 0, &kBlank);
    return;
  }
  // glBitmap's rows run bottom first, each byte's leftmost pixel in its top bit.
  const int columns = right - left;
  const int rows = bottom - top;
  const int row_bytes = (columns + 7) / 8;
  bits.assign(static_cast<std::size_t>(row_bytes) * static_cast<std::size_t>(rows), 0);
  for (int y = 0; y < rows; ++y) {
    for (int x = 0; x < columns; ++x) {
      if (inked(left + x, bottom - 1 - y)) bits[y * row_bytes + x / 8] |= 0x80 >> (x % 8);
    }
  }
  glBitmap(columns, rows, static_cast<GLfloat>(kMargin - left),
           static_cast<GLfloat>(bottom - baseline), static_cast<GLfloat>(advance), 0, bits.data());
}

}  // namespace

std::optional<gl::FontLists> MakeRasterFontLists(int first, int count) {
  // A font map of its own, freed once the lists hold the glyphs, rather than the default one
  // that would stay for the process's life.
  const GObjectRef<PangoFontMap> map(pango_cairo_font_map_new());
  const GObjectRef<PangoContext> context(pango_font_map_create_context(map.get()));
  const UniqueFontOptions options(cairo_font_options_create());
  cairo_font_options_set_antialias(options.get(), CAIRO_ANTIALIAS_NONE);
  cairo_font_options_set_hint_style(options.get(), CAIRO_HINT_STYLE_FULL);
  cairo_font_options_set_hint_metrics(options.get(), CAIRO_HINT_METRICS_ON);
  pango_cairo_context_set_font_options(context.get(), options.get());

  // The face's size in whole pixels that makes its line about kLineHeight high, from its
  // proportions at a large size, where hinting does not round them.
  const UniqueFontDescription font(pango_font_description_from_string("monospace"));
  constexpr int kProbe = 100 * PANGO_SCALE;
  const int probe_height = LineHeightAt(context.get(), font.get(), kProbe);
  if (probe_height <= 0) return std::nullopt;
  const int pixels = std::max(1, (kLineHeight * kProbe + probe_height / 2) / probe_height);
  pango_font_description_set_absolute_size(font.get(), pixels * PANGO_SCALE);
  const GObjectRef<PangoLayout> layout(pango_layout_new(context.get()));
  pango_layout_set_font_description(layout.get(), font.get());

  gl::FontLists lists;
  PangoRectangle cell{};
  pango_layout_set_text(layout.get(), " ", 1);
  pango_layout_get_pixel_extents(layout.get(), nullptr, &cell);
  lists.blank_advance = cell.width;
  lists.descent = cell.height - PANGO_PIXELS(pango_layout_get_baseline(layout.get()));

  // Each character is drawn at (kMargin, kMargin) on one scratch surface, two cells wide for a
  // fallback face's wider glyph.
  const UniqueCairoSurface surface(cairo_image_surface_create(
      CAIRO_FORMAT_A8, 2 * cell.width + 2 * kMargin, cell.height + 2 * kMargin));
  const UniqueCairo cairo(cairo_create(surface.get()));
  if (cairo_status(cairo.get()) != CAIRO_STATUS_SUCCESS) return std::nullopt;

  lists.base = glGenLists(count);
  if (lists.base == 0) return std::nullopt;
  // The bitmaps are tightly packed, whatever the context's unpacking state.
  glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
  glPixelStorei(GL_UNPACK_SWAP_BYTES, GL_FALSE);
  glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  std::vector<GLubyte> bits;
  for (int i = 0; i < count; ++i) {
    glNewList(lists.base + static_cast<GLuint>(i), GL_COMPILE);
    if (Printable(first + i)) {
      const std::string text = Utf8(first + i);
      pango_layout_set_text(layout.get(), text.data(), static_cast<int>(text.size()));
      PangoRectangle logical{};
      pango_layout_get_pixel_extents(layout.get(), nullptr, &logical);
      cairo_set_operator(cairo.get(), CAIRO_OPERATOR_CLEAR);
      cairo_paint(cairo.get());
      cairo_set_operator(cairo.get(), CAIRO_OPERATOR_OVER);
      cairo_move_to(cairo.get(), kMargin, kMargin);
      pango_cairo_show_layout(cairo.get(), layout.get());
      CompileBitmap(surface.get(), kMargin + PANGO_PIXELS(pango_layout_get_baseline(layout.get())),
                    logical.width, bits);
    }
    glEndList();
  }
  glPopClientAttrib();
  return lists;
}

}  // namespace tolvenar::linux_port
