#include "scene/emulation/gl_conventions.h"

#include <cstdio>
#include <cstring>
#include <tuple>

#include "scene/direct3d_values.h"

namespace tolvenar {

namespace {

using namespace d3d8;  // the values the scene and its devices speak in

constexpr std::uint32_t kFormatKnown = kFormatXyz | kFormatDiffuse | (1u << kFormatTexturesShift);

constexpr int kPositionBytes = 3 * sizeof(float);
constexpr int kColourBytes = 4;
constexpr int kTextureBytes = 2 * sizeof(float);

bool Suits(const FrameBufferCandidate& c) {
  return c.visual_id != 0 && c.double_buffered && c.red >= 8 && c.green >= 8 && c.blue >= 8;
}

// Smaller is better: bits the scene never uses.
std::tuple<int, int, int> Waste(const FrameBufferCandidate& c) {
  return {c.depth, c.stencil, c.alpha};
}

}  // namespace

Matrix4 DirectXClipFixUp(std::uint32_t width, std::uint32_t height) {
  Matrix4 f;
  f.m[0][0] = 1;
  f.m[1][1] = 1;
  f.m[2][2] = 2;
  f.m[3][0] = width ? 1.0f / static_cast<float>(width) : 0.0f;
  f.m[3][1] = height ? -1.0f / static_cast<float>(height) : 0.0f;
  f.m[3][2] = -1;
  f.m[3][3] = 1;
  return f;
}

GlMatrixPair GlProjection(const Matrix4& projection, const Viewport3D& viewport) {
  // GL multiplies on the right: load(F^T) * mult(P^T) = (P x F)^T, so points see P, then F.
  return {DirectXClipFixUp(viewport.width, viewport.height), projection};
}

GlMatrixPair GlModelView(const Matrix4& world, const Matrix4& view) { return {view, world}; }

GlRect GlViewportRect(const Viewport3D& viewport, int drawable_height) {
  const int height = static_cast<int>(viewport.height);
  return {static_cast<int>(viewport.x), drawable_height - static_cast<int>(viewport.y) - height,
          static_cast<int>(viewport.width), height};
}

Viewport3D WholeDrawable(int width, int height) {
  Viewport3D viewport;
  viewport.width = width > 0 ? static_cast<std::uint32_t>(width) : 0;
  viewport.height = height > 0 ? static_cast<std::uint32_t>(height) : 0;
  return viewport;
}

std::array<float, 4> GlClearColour(std::uint32_t colour) {
  return {static_cast<float>((colour >> 16) & 0xFF) / 255.f,
          static_cast<float>((colour >> 8) & 0xFF) / 255.f,
          static_cast<float>(colour & 0xFF) / 255.f, 1.0f};
}

std::optional<GlRenderSwitch> GlRenderState(std::uint32_t state, std::uint32_t value) {
  using Kind = GlRenderSwitch::Kind;
  switch (state) {
    case kRenderStateLighting:
      return GlRenderSwitch{Kind::kLighting, value != 0};
    case kRenderStateDither:
      return GlRenderSwitch{Kind::kDither, value != 0};
    case kRenderStateCullMode:
      if (value == kCullNone) return GlRenderSwitch{Kind::kCulling, false};
      if (value == kCullClockwise) return GlRenderSwitch{Kind::kCulling, true, false};
      if (value == kCullCounterClockwise) return GlRenderSwitch{Kind::kCulling, true, true};
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

std::vector<GlRenderSwitch> DirectXDefaultStates() {
  return {*GlRenderState(kRenderStateLighting, 1),
          *GlRenderState(kRenderStateCullMode, kCullCounterClockwise),
          *GlRenderState(kRenderStateDither, 0)};
}

std::optional<GlVertexLayout> GlVertexLayoutOf(std::uint32_t vertex_format) {
  if ((vertex_format & ~kFormatKnown) != 0 || (vertex_format & kFormatXyz) == 0) {
    return std::nullopt;
  }
  GlVertexLayout layout;
  layout.position = 0;
  layout.stride = kPositionBytes;
  if (vertex_format & kFormatDiffuse) {
    layout.colour = layout.stride;
    layout.stride += kColourBytes;
  }
  if ((vertex_format >> kFormatTexturesShift) != 0) {
    layout.texture = layout.stride;
    layout.stride += kTextureBytes;
  }
  return layout;
}

std::optional<int> GlStripVertexCount(std::uint32_t primitive_type, std::uint32_t primitive_count) {
  if (primitive_type != kTriangleStrip || primitive_count == 0 || primitive_count > 0xFFFFFF) {
    return std::nullopt;
  }
  return static_cast<int>(primitive_count) + 2;
}

std::optional<FrameBufferChoice> ChooseFrameBuffer(const std::vector<FrameBufferCandidate>& configs,
                                                   std::uint32_t window_visual_id) {
  std::optional<FrameBufferChoice> best;
  for (std::size_t i = 0; i < configs.size(); ++i) {
    const FrameBufferCandidate& c = configs[i];
    if (!Suits(c)) continue;
    const bool own_window = c.visual_id != window_visual_id;
    if (own_window && c.visual_depth != 24) continue;
    const bool better = !best || (best->own_window && !own_window) ||
                        (best->own_window == own_window && Waste(c) < Waste(configs[best->index]));
    if (better) best = FrameBufferChoice{i, own_window};
  }
  return best;
}

int SwapInterval(const char* setting) {
  return setting != nullptr && std::strcmp(setting, "0") == 0 ? 0 : 1;
}

void FrameRateText::FramePresented(std::uint64_t now_ms) {
  if (!started_) {
    started_ = true;
    since_ms_ = now_ms;
    return;
  }
  ++frames_;
  const std::uint64_t elapsed = now_ms - since_ms_;
  if (elapsed < 1000) return;
  char text[32];
  if (std::snprintf(text, sizeof text, "FPS: %.1f",
                    static_cast<double>(frames_) * 1000.0 / static_cast<double>(elapsed)) > 0) {
    text_ = text;
  }
  frames_ = 0;
  since_ms_ = now_ms;
}

}  // namespace tolvenar
