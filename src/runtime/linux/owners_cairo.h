#pragma once
// Owners of cairo's and Pango's objects, on the shared owning template.
#include <cairo.h>
#include <pango/pango.h>

#include "runtime/unique_resource.h"

namespace tolvenar::linux_port {

struct DestroyCairoSurface {
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct DestroyCairo {
  void operator()(cairo_t* cairo) const { cairo_destroy(cairo); }
};
struct DestroyFontOptions {
  void operator()(cairo_font_options_t* options) const { cairo_font_options_destroy(options); }
};
struct FreeFontDescription {
  void operator()(PangoFontDescription* font) const { pango_font_description_free(font); }
};
using UniqueCairoSurface = UniqueResource<cairo_surface_t*, DestroyCairoSurface>;
using UniqueCairo = UniqueResource<cairo_t*, DestroyCairo>;
using UniqueFontOptions = UniqueResource<cairo_font_options_t*, DestroyFontOptions>;
using UniqueFontDescription = UniqueResource<PangoFontDescription*, FreeFontDescription>;

}  // namespace tolvenar::linux_port
