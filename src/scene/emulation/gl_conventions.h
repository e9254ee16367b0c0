#pragma once
// Direct3D's fixed-function conventions restated for a legacy OpenGL device: what the GL back end
// loads, enables and chooses, decided here so that native tests pin it. Nothing here calls GL; the
// numbers a GL call takes are spelled as plain values.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "scene/graphics3d.h"

namespace tolvenar {

// Direct3D's clip space and pixel centres as GL sees them, for a viewport `width` x `height`
// pixels: rows (1 0 0 0), (0 1 0 0), (0 0 2 0), (1/width -1/height -1 1). z' = 2z - w maps
// Direct3D's depth range [0, w] onto GL's [-w, w]; x and y move by half a pixel right and down,
// since Direct3D samples pixel centres at whole coordinates and GL half a pixel further on.
Matrix4 DirectXClipFixUp(std::uint32_t width, std::uint32_t height);

// A fixed-function matrix as GL builds it: glLoadMatrixf(load), then glMultMatrixf(multiply),
// each given the row-vector matrix's floats unchanged (GL reads them as the transpose, which is
// what turns a row-vector product into GL's column-vector one).
struct GlMatrixPair {
  Matrix4 load;
  Matrix4 multiply;
};
// The projection: points go through projection, then the fix-up of the current viewport.
GlMatrixPair GlProjection(const Matrix4& projection, const Viewport3D& viewport);
// The model-view: points go through world, then view.
GlMatrixPair GlModelView(const Matrix4& world, const Matrix4& view);

// A rectangle in GL window coordinates (origin at the bottom-left), as glViewport and glScissor
// take it.
struct GlRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const GlRect& o) const {
    return x == o.x && y == o.y && width == o.width && height == o.height;
  }
};
// A Direct3D viewport (origin at the top-left) on a drawable `drawable_height` pixels high.
GlRect GlViewportRect(const Viewport3D& viewport, int drawable_height);
// The viewport a device has until one is set: the whole drawable, depth 0 to 1.
Viewport3D WholeDrawable(int width, int height);

// A D3DCOLOR (0xAARRGGBB) as glClearColor's red, green, blue and alpha; the render target has no
// alpha, so alpha is 1 whatever the colour says. n / 255.f is exact for every level.
std::array<float, 4> GlClearColour(std::uint32_t colour);

// What a Direct3D render state becomes on GL. Lighting: GL_LIGHTING on or off. Culling:
// D3DCULL_NONE turns GL_CULL_FACE off; D3DCULL_CW and D3DCULL_CCW cull the faces wound that way on
// screen, so the front faces are the others (`front_clockwise`). Dither: GL_DITHER.
struct GlRenderSwitch {
  enum class Kind { kLighting, kCulling, kDither } kind;
  bool enable = false;
  bool front_clockwise = false;  // culling only
};
// nullopt for a state or value this device cannot honour.
std::optional<GlRenderSwitch> GlRenderState(std::uint32_t state, std::uint32_t value);
// The states a new Direct3D device starts with: lighting on, D3DCULL_CCW, no dither.
std::vector<GlRenderSwitch> DirectXDefaultStates();

// Where a flexible vertex format puts each part of a vertex, in bytes; -1 for a part it lacks.
struct GlVertexLayout {
  int stride = 0;
  int position = -1;  // three floats
  int colour = -1;    // D3DCOLOR: B, G, R, A bytes (GL_BGRA, GL_UNSIGNED_BYTE)
  int texture = -1;   // two floats
};
// Formats of untransformed positions with an optional diffuse colour and at most one set of 2D
// texture coordinates; nullopt for anything else.
std::optional<GlVertexLayout> GlVertexLayoutOf(std::uint32_t vertex_format);

// The GL vertex count of `primitive_count` primitives of a Direct3D primitive type; nullopt for a
// type other than a triangle strip (the only one drawn here) or no primitives.
std::optional<int> GlStripVertexCount(std::uint32_t primitive_type, std::uint32_t primitive_count);

// What the device needs to know of one GLXFBConfig, as glXGetFBConfigAttrib reports it.
struct FrameBufferCandidate {
  std::uint32_t visual_id = 0;  // 0: no X visual
  int visual_depth = 0;
  bool double_buffered = false;
  int red = 0, green = 0, blue = 0, alpha = 0;
  int depth = 0, stencil = 0;
};
struct FrameBufferChoice {
  std::size_t index = 0;    // into the candidates
  bool own_window = false;  // no candidate suits the window's visual: draw into a child window
};
// The window's own visual when a double-buffered configuration of at least 8 bits per colour has
// it; otherwise the best such configuration with a visual of depth 24 (a child window of our own,
// since a different visual cannot draw into the window itself). Among equals the one with the
// fewest depth, stencil and alpha bits wins (the scene uses none), then the first.
// nullopt when no candidate will do.
std::optional<FrameBufferChoice> ChooseFrameBuffer(const std::vector<FrameBufferCandidate>& configs,
                                                   std::uint32_t window_visual_id);

// The swap interval: 1 (wait for the vertical blank) unless `setting` (the environment's
// TOLVENAR_SWAP_INTERVAL, null when unset) is "0", which tests and benchmarks ask for.
int SwapInterval(const char* setting);

// The frame-rate overlay's text, "FPS: 59.9": frames presented over the last whole second or
// more, refreshed once a second. Before the first second it reads "FPS: 0.0".
class FrameRateText {
 public:
  // A frame was presented at `now_ms` (any steady millisecond clock).
  void FramePresented(std::uint64_t now_ms);
  const std::string& Text() const { return text_; }

 private:
  bool started_ = false;
  std::uint64_t since_ms_ = 0;
  int frames_ = 0;
  std::string text_ = "FPS: 0.0";
};

}  // namespace tolvenar
