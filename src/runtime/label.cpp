#include "runtime/label.h"

#include "runtime/screen_units.h"

namespace tolvenar {

void CaptionLabel::SetCaption(const std::string& caption) {
  caption_ = caption;
  Invalidate();
}

bool CaptionLabel::SetForeColour(std::uint32_t colour) {
  if (colour > 0x00FFFFFF) return false;  // not an RGB value
  colour_ = colour;
  Invalidate();
  return true;
}

void CaptionLabel::SetFont(const FontDescription& font) {
  font_ = font;
  FontChanged();
  Invalidate();
}

bool CaptionLabel::SetEnabled(bool enabled) {
  if (enabled_ != enabled) Invalidate();
  enabled_ = enabled;
  return true;
}

PixelRect CaptionLabel::Box() const {
  const int left = TwipsToWindowPixels(left_, twips_per_pixel_);
  const int top = TwipsToWindowPixels(top_, twips_per_pixel_);
  return {left, top, left + TwipsToWindowPixels(width_, twips_per_pixel_),
          top + TwipsToWindowPixels(height_, twips_per_pixel_)};
}

void CaptionLabel::Move(double& field, double twips) {
  if (field != twips) Invalidate();
  field = twips;
}

}  // namespace tolvenar
