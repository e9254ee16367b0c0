#include "scene/output_canvas.h"

#include <algorithm>
#include <numeric>

namespace tolvenar {

std::int32_t BufferScale(std::int32_t output_scale) { return output_scale > 0 ? output_scale : 1; }

std::vector<std::size_t> SceneOrder(const std::vector<OutputGeometry>& outputs) {
  std::vector<std::size_t> order(outputs.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  const auto at_origin = [&outputs](std::size_t i) {
    return outputs[i].x == 0 && outputs[i].y == 0;
  };
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    if (at_origin(a) != at_origin(b)) return at_origin(a);
    if (outputs[a].x != outputs[b].x) return outputs[a].x < outputs[b].x;
    return outputs[a].y < outputs[b].y;
  });
  return order;
}

std::vector<PixelRect> CanvasParts(const std::vector<OutputGeometry>& outputs_in_order) {
  std::vector<PixelRect> parts;
  std::int32_t left = 0;
  for (const OutputGeometry& output : outputs_in_order) {
    const std::int32_t scale = BufferScale(output.scale);
    const std::int32_t width = std::max(output.width, 1) * scale;
    const std::int32_t height = std::max(output.height, 1) * scale;
    parts.push_back({left, 0, left + width, height});
    left += width;
  }
  return parts;
}

SurfaceShell ChooseShell(bool offers_layer_shell, bool offers_xdg_shell) {
  if (offers_layer_shell) return SurfaceShell::kLayerShell;
  if (offers_xdg_shell) return SurfaceShell::kFullScreenToplevel;
  return SurfaceShell::kNone;
}

std::optional<PixelRect> PictureOf(std::optional<std::size_t> part,
                                   const std::vector<PixelRect>& parts, std::int32_t width,
                                   std::int32_t height) {
  if (parts.empty()) return std::nullopt;
  if (part && *part < parts.size()) return parts[*part];
  PixelRect first = parts.front();
  if (width <= 0 || height <= 0) return first;
  const std::int64_t first_width = first.right - first.left;
  const std::int64_t first_height = first.bottom - first.top;
  // Cross-multiplied: the wider of the two shapes loses its sides, the taller its top and bottom.
  if (first_width * height > first_height * width) {
    const auto kept = static_cast<std::int32_t>(first_height * width / height);
    first.left += (static_cast<std::int32_t>(first_width) - kept) / 2;
    first.right = first.left + kept;
  } else {
    const auto kept = static_cast<std::int32_t>(first_width * height / width);
    first.top += (static_cast<std::int32_t>(first_height) - kept) / 2;
    first.bottom = first.top + kept;
  }
  return first;
}

bool DrawsStraightIntoWindow(const std::vector<ShownPart>& shown, PixelPoint canvas_size) {
  if (shown.size() != 1) return false;
  const ShownPart& only = shown.front();
  return only.picture == PixelRect{0, 0, canvas_size.x, canvas_size.y} &&
         only.width == canvas_size.x && only.height == canvas_size.y;
}

}  // namespace tolvenar
