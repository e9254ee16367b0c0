#include "runtime/linux/pango_text_linux.h"

#include <hb.h>
#include <pango/pangocairo.h>

#include <cmath>

#include "runtime/linux/cairo_surfaces_linux.h"
#include "runtime/linux/owners_cairo.h"
#include "runtime/linux/owners_glib.h"

namespace tolvenar::linux_port {
namespace {

// Whether the face asks for grey smoothing at `pixels` per em in its 'gasp' table, as the
// platform's rasteriser honours it (IPAGothic: crisp from 9 to 16 pixels, smooth above); a face
// without the table is smoothed.
bool SmoothedAt(PangoContext* context, const PangoFontDescription* description, int pixels) {
  const GObjectRef<PangoFont> font(pango_context_load_font(context, description));
  hb_font_t* shaping = font ? pango_font_get_hb_font(font.get()) : nullptr;
  if (!shaping) return true;
  hb_blob_t* table = hb_face_reference_table(hb_font_get_face(shaping), HB_TAG('g', 'a', 's', 'p'));
  unsigned length = 0;
  const auto* bytes = reinterpret_cast<const unsigned char*>(hb_blob_get_data(table, &length));
  bool smoothed = true;
  const auto u16 = [bytes](unsigned at) {
    return static_cast<unsigned>(bytes[at] << 8 | bytes[at + 1]);
  };
  if (length >= 4) {
    const unsigned ranges = u16(2);
    for (unsigned i = 0; i < ranges && 4 + 4 * i + 4 <= length; ++i) {
      if (static_cast<unsigned>(pixels) <= u16(4 + 4 * i)) {
        smoothed = (u16(4 + 4 * i + 2) & 0x2) != 0;  // GASP_DOGRAY
        break;
      }
    }
  }
  hb_blob_destroy(table);
  return smoothed;
}

GObjectRef<PangoLayout> Layout(cairo_t* cairo, std::string_view text, const TextStyle& style,
                               int wrap_width) {
  GObjectRef<PangoLayout> layout(pango_cairo_create_layout(cairo));

  const UniqueFontDescription font(pango_font_description_new());
  pango_font_description_set_family(font.get(), FamiliesOfFace(style.font.face_name).c_str());
  const double pixels = std::lround(style.font.size_points * 20 / style.twips_per_pixel);
  pango_font_description_set_absolute_size(font.get(), pixels * PANGO_SCALE);
  pango_font_description_set_weight(font.get(), static_cast<PangoWeight>(style.font.weight));
  pango_font_description_set_style(font.get(),
                                   style.font.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  const UniqueFontOptions options(cairo_font_options_create());
  const bool smoothed =
      SmoothedAt(pango_layout_get_context(layout.get()), font.get(), static_cast<int>(pixels));
  cairo_font_options_set_antialias(options.get(),
                                   smoothed ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
  cairo_font_options_set_hint_style(options.get(),
                                    smoothed ? CAIRO_HINT_STYLE_SLIGHT : CAIRO_HINT_STYLE_FULL);
  cairo_font_options_set_hint_metrics(options.get(), CAIRO_HINT_METRICS_ON);
  pango_cairo_context_set_font_options(pango_layout_get_context(layout.get()), options.get());
  pango_layout_context_changed(layout.get());
  pango_layout_set_font_description(layout.get(), font.get());
  pango_layout_set_text(layout.get(), text.data(), static_cast<int>(text.size()));

  PangoAttrList* attributes = pango_attr_list_new();
  if (style.font.underline)
    pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
  if (style.font.strikethrough)
    pango_attr_list_insert(attributes, pango_attr_strikethrough_new(TRUE));
  pango_layout_set_attributes(layout.get(), attributes);
  pango_attr_list_unref(attributes);

  if (wrap_width > 0) {
    pango_layout_set_width(layout.get(), wrap_width * PANGO_SCALE);
    pango_layout_set_alignment(
        layout.get(), style.align == TextAlign::kCentre ? PANGO_ALIGN_CENTER : PANGO_ALIGN_LEFT);
    pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
  }
  return layout;
}

}  // namespace

std::string FamiliesOfFace(std::string_view face_name) {
  // The Japanese Gothic faces of the Windows build; IPAGothic is what its reference runs draw.
  for (const std::string_view gothic :
       {"ＭＳ Ｐゴシック", "ＭＳ ゴシック", "MS UI Gothic", "MS PGothic", "MS Gothic"}) {
    if (face_name == gothic) return "IPAGothic,Noto Sans CJK JP,monospace";
  }
  return std::string(face_name) + ",IPAGothic,Noto Sans CJK JP,sans-serif";
}

void DrawText(cairo_t* cairo, std::string_view text, const TextStyle& style, const PixelRect& box,
              Colour colour) {
  if (text.empty()) return;
  const int width = box.right - box.left;
  const auto layout = Layout(cairo, text, style, style.wrap ? width : 0);
  int left = box.left;
  if (!style.wrap && style.align == TextAlign::kCentre) {
    int text_width = 0;
    pango_layout_get_pixel_size(layout.get(), &text_width, nullptr);
    left += (width - text_width) / 2;
  }
  cairo_save(cairo);
  cairo_rectangle(cairo, box.left, box.top, width, box.bottom - box.top);
  cairo_clip(cairo);
  cairo_set_source_rgb(cairo, colour.red / 255.0, colour.green / 255.0, colour.blue / 255.0);
  // An underline is a filled rectangle: as crisp as the glyphs.
  const cairo_font_options_t* options =
      pango_cairo_context_get_font_options(pango_layout_get_context(layout.get()));
  if (options && cairo_font_options_get_antialias(options) == CAIRO_ANTIALIAS_NONE) {
    cairo_set_antialias(cairo, CAIRO_ANTIALIAS_NONE);
  }
  cairo_move_to(cairo, left, box.top);
  pango_cairo_show_layout(cairo, layout.get());
  cairo_restore(cairo);
}

std::pair<int, int> MeasureText(std::string_view text, const TextStyle& style) {
  const UniqueCairoSurface image = MakeImage(1, 1, {});
  if (!image) return {0, 0};
  const UniqueCairo cairo(cairo_create(image.get()));
  const auto layout = Layout(cairo.get(), text, style, 0);
  int width = 0;
  int height = 0;
  pango_layout_get_pixel_size(layout.get(), &width, &height);
  return {width, height};
}

}  // namespace tolvenar::linux_port
