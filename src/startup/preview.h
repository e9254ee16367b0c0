#pragma once
// The preview mode: a still of the scene embedded into the preview area of the display settings.
#include <cstdint>
#include <optional>

#include "startup/preview_window.h"

namespace tolvenar {

// What the placement computed; the fields a failed step leaves at 0.
struct PreviewPlacement {
  bool created = false;
  std::int16_t width_twips = 0, height_twips = 0;
  std::int32_t image_width = 0, image_height = 0;
};

// Places the preview window into `parent` and shows it. A handle that names no window creates
// nothing, so the program ends at once.
PreviewPlacement PlacePreviewWindow(PreviewWindowServices& services, WindowHandle parent);

// The preview window's unload handler: posts WM_CLOSE to its own window.
void PreviewFormUnload(PreviewWindowServices& services);

// The preview window's periodic check: when the preview area has gone but its child lingers, close
// it. Returns true when it asked to close.
bool PreviewCheckParent(PreviewWindowServices& services, WindowHandle parent);

// Twips to whole pixels, half to even; 0 when the factor is not positive or the result does not
// fit.
std::int32_t TwipsToPixels(double twips, double twips_per_pixel);

}  // namespace tolvenar
