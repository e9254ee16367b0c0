#include "startup/preview.h"

#include "runtime/conversions.h"

namespace tolvenar {

PreviewPlacement PlacePreviewWindow(PreviewWindowServices& services, WindowHandle parent) {
  PreviewPlacement placement;

  // 1. The preview area's outer rectangle. A handle that names no window leaves nothing to cover:
  // a window created anyway would never be seen and would keep the program alive for good.
  PixelRect rect;
  if (!services.GetWindowRect(parent, rect)) return placement;

  // 2. The size in twips; a size that does not fit 16 bits stays 0.
  const double twips_x = services.TwipsPerPixelX();
  const double twips_y = services.TwipsPerPixelY();
  const double pixel_width = static_cast<double>(rect.right) - rect.left;
  const double pixel_height = static_cast<double>(rect.bottom) - rect.top;
  placement.width_twips = ToInt16(pixel_width * twips_x).value_or(0);
  placement.height_twips = ToInt16(pixel_height * twips_y).value_or(0);

  // 3. The window, hidden.
  placement.created = services.CreatePreviewWindow();
  if (!placement.created) return placement;

  // 4. A child window: WS_CHILD added, no other bit touched.
  services.WriteWindowStyle(services.ReadWindowStyle() | kWindowStyleChild);

  // 5. Into the preview area.
  services.SetParentWindow(parent);

  // 6. Over the whole preview area from its top-left corner.
  services.MoveWindowTwips(0, 0, placement.width_twips, placement.height_twips);

  // 7. The still at the preview area's size in pixels.
  placement.image_width = TwipsToPixels(placement.width_twips, twips_x);
  placement.image_height = TwipsToPixels(placement.height_twips, twips_y);
  services.SizeImage(placement.image_width, placement.image_height);
  services.PlaceImage(0, 0);

  // 8. Shown, not modally.
  services.ShowPreviewWindow();
  return placement;
}

void PreviewFormUnload(PreviewWindowServices& services) { services.PostCloseToSelf(); }

bool PreviewCheckParent(PreviewWindowServices& services, WindowHandle parent) {
  if (services.WindowExists(parent)) return false;
  services.PostCloseToSelf();
  return true;
}

std::int32_t TwipsToPixels(double twips, double twips_per_pixel) {
  if (!(twips_per_pixel > 0)) return 0;
  return ToInt32(twips / twips_per_pixel).value_or(0);
}

}  // namespace tolvenar
