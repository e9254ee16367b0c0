#pragma once
// Display systems that give each output a surface of its own (Wayland) rather than one window
// over every monitor: the scene still draws one canvas with a part per output, as it covers the
// monitors of one window elsewhere, and each output's surface shows its part.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "runtime/pixel_geometry.h"

namespace tolvenar {

// An output as the compositor describes it: its place and size in the desktop's logical units
// and the integer scale of its pixels.
struct OutputGeometry {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t scale = 1;
};

// The scale a surface's buffers take on an output: the output's own, so that the picture is drawn
// at the output's full resolution; 1 for a scale not given or not positive.
std::int32_t BufferScale(std::int32_t output_scale);

// The order the scene learns the outputs in: the one at the desktop's origin first (where the
// primary monitor lies on the other systems), the others left to right, then top to bottom; among
// equals the order they came in.
std::vector<std::size_t> SceneOrder(const std::vector<OutputGeometry>& outputs);

// Each output's part of the canvas, in buffer pixels (logical size times buffer scale), side by
// side in the order given, top-aligned: no part overlaps another however the outputs' scales
// differ, and each is drawn at its output's resolution.
std::vector<PixelRect> CanvasParts(const std::vector<OutputGeometry>& outputs_in_order);

// Which shell gives the outputs their surfaces: the layer shell's overlay layer where the
// compositor offers it (over panels and every window, with the keyboard), else a full-screen
// top-level window per output; none without either.
enum class SurfaceShell { kLayerShell, kFullScreenToplevel, kNone };
SurfaceShell ChooseShell(bool offers_layer_shell, bool offers_xdg_shell);

// The canvas part an output's surface (`width` by `height` pixels) shows: its own when the scene
// learned it; an output that came later shows the middle of the first output's, cut to its own
// shape so that it is scaled undistorted. Nothing while the canvas has no part.
std::optional<PixelRect> PictureOf(std::optional<std::size_t> part,
                                   const std::vector<PixelRect>& parts, std::int32_t width,
                                   std::int32_t height);

// What an output's surface shows: its part of the canvas, at its own size in pixels.
struct ShownPart {
  PixelRect picture;
  std::int32_t width = 0;
  std::int32_t height = 0;
};

// Whether the scene may draw straight into the one output's window instead of into the canvas
// that each window copies its part from: when a single window shows the whole canvas at its own
// size (one monitor), which spares a copy of every frame.
bool DrawsStraightIntoWindow(const std::vector<ShownPart>& shown, PixelPoint canvas_size);

}  // namespace tolvenar
