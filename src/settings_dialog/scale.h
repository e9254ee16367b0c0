#pragma once
// Twips to pixels as the dialog lays itself out at the screen's resolution.
#include "runtime/pixel_geometry.h"
#include "runtime/screen_units.h"
#include "settings_dialog/layout.h"

namespace tolvenar {

// Twips to pixels at the screen's own twips per pixel.
struct Scale {
  double tpp_x = 15;
  double tpp_y = 15;
  int X(double twips) const { return TwipsToWindowPixels(twips, tpp_x); }
  int Y(double twips) const { return TwipsToWindowPixels(twips, tpp_y); }
  // A length the usual screen draws in `usual` pixels (a picture's side, a line's width).
  int Pixels(int usual) const { return ScaledPixels(usual, tpp_y); }
  PixelRect Box(const dialog_layout::Place& p) const {
    return {X(p.left), Y(p.top), X(p.left + p.width), Y(p.top + p.height)};
  }
};

}  // namespace tolvenar
