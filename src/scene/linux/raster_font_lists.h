#pragma once
// The frame-rate overlay's font where the window system has no font of its own to make display
// lists from (EGL on Wayland): the system's monospace face rasterised with Pango and cairo.
#include <optional>

#include "scene/gl/gl_surface.h"

namespace tolvenar::linux_port {

// `count` display lists from character `first` in the current context, each a 1-bit glBitmap of
// a monospace face about as large as the X server's "fixed" font (13 pixels high) that moves the
// raster position by the character's advance; characters without a glyph (controls) get empty
// lists. nullopt when no face can be loaded or GL gives no lists.
std::optional<gl::FontLists> MakeRasterFontLists(int first, int count);

}  // namespace tolvenar::linux_port
