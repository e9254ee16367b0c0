#pragma once
// Graphics3D on legacy OpenGL over GLX (through libepoxy): the Direct3D conventions the scene
// relies on come from scene/gl_conventions.h. DirectInput's calls succeed and do nothing; the host
// of the window handles input. Textures are read through Process and decoded from BMP (or PNG).
//
// X errors are reported through the Display's error handler; its owner must install one that
// records instead of ending the process, since the target window may go away at any moment (a
// host's preview). After that, every call fails and the release calls still clean up.
#include <epoxy/gl.h>
#include <epoxy/glx.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "runtime/linux/owners_x11.h"
#include "runtime/process.h"
#include "scene/linux/bench_statistics.h"
#include "scene/gl_conventions.h"
#include "scene/graphics3d.h"

namespace tolvenar::linux_port {

struct DestroyGlxWindow {
  void operator()(Display* display, GLXWindow window) const { glXDestroyWindow(display, window); }
};
// Made not current first when it is.
struct DestroyContext {
  void operator()(Display* display, GLXContext context) const;
};
// The GLX drawable of an X window, for a context made from a GLXFBConfig.
using GlxWindow = DisplayResource<GLXWindow, DestroyGlxWindow>;
using GlContext = DisplayResource<GLXContext, DestroyContext>;

// GL names made in the current context, deleted with the object (the context must still be
// current then: the device declares them after the context).
class GlTextures {
 public:
  GlTextures() = default;
  GlTextures(const GlTextures&) = delete;
  GlTextures& operator=(const GlTextures&) = delete;
  ~GlTextures() { clear(); }
  GLuint Make();
  // 0 for a handle not made here.
  GLuint Name(Texture3D texture) const;
  Texture3D Last() const { return static_cast<Texture3D>(names_.size()); }
  void clear();

 private:
  std::vector<GLuint> names_;  // handle n is entry n - 1
};

// The bitmap font of the frame-rate overlay: display lists of the printable ASCII characters.
class GlFont {
 public:
  GlFont() = default;
  GlFont(const GlFont&) = delete;
  GlFont& operator=(const GlFont&) = delete;
  ~GlFont() { reset(); }
  // Loads `name` from the server into lists of the current context; false when it cannot.
  bool Load(Display* display, const char* name);
  void reset();
  explicit operator bool() const { return base_ != 0; }
  // Draws `text` with its baseline's left end at the raster position.
  void Draw(const std::string& text) const;
  int Descent() const { return descent_; }

 private:
  Display* display_ = nullptr;
  XFontStruct* font_ = nullptr;
  GLuint base_ = 0;
  int descent_ = 0;
  int blank_advance_ = 0;
};

class GlGraphics3D final : public Graphics3D {
 public:
  // Draws into `window` (the host's, or the program's own) on `display`; both outlive this object
  // or, for the window, may be destroyed by its owner first. With show_fps every presented frame
  // carries the frame rate in its lower-left corner.
  GlGraphics3D(Display* display, Window window, Process& process, bool show_fps = false);
  GlGraphics3D(const GlGraphics3D&) = delete;
  GlGraphics3D& operator=(const GlGraphics3D&) = delete;
  ~GlGraphics3D() override;

  bool CreateRoot() override;
  bool CreateDirect3D() override;
  bool GetAdapterDisplayModeFormat(std::uint32_t adapter, std::uint32_t& format) override;
  bool CreateDevice(std::uint32_t adapter, std::uint32_t device_type, std::uint32_t behaviour_flags,
                    const PresentParameters& parameters) override;
  bool SetVertexShader(std::uint32_t vertex_format) override;
  bool SetRenderState(std::uint32_t state, std::uint32_t value) override;
  bool CreateVertexBuffer(std::uint32_t length, std::uint32_t usage, std::uint32_t vertex_format,
                          std::uint32_t pool, VertexBuffer3D& buffer) override;
  bool SetVertexBufferData(VertexBuffer3D buffer, std::uint32_t offset, std::uint32_t size,
                           std::uint32_t flags, const void* data) override;
  bool CreateDirectInput() override { return true; }
  bool CreateMouseDevice() override { return true; }
  bool SetMouseCommonDataFormat(std::uint32_t) override { return true; }
  bool SetMouseCooperativeLevel(WindowHandle, std::uint32_t) override { return true; }
  bool AcquireMouse() override { return true; }
  bool SetTransform(std::uint32_t state, const Matrix4& matrix) override;
  bool CreateTextureFromFile(const std::string& path, const TextureFileArguments& arguments,
                             Texture3D& texture) override;
  bool SetViewport(const Viewport3D& viewport) override;
  bool Clear(std::uint32_t flags, std::uint32_t colour, float z, std::uint32_t stencil) override;
  bool BeginScene() override;
  bool SetTexture(std::uint32_t stage, Texture3D texture) override;
  bool SetStreamSource(std::uint32_t stream, VertexBuffer3D buffer, std::uint32_t stride) override;
  bool DrawPrimitive(std::uint32_t primitive_type, std::uint32_t start_vertex,
                     std::uint32_t primitive_count) override;
  bool EndScene() override;
  bool Present() override;
  void ReleaseDevice() override;
  void ReleaseDirect3D() override;
  void ReleaseRoot() override;

  // For tests: the window GL draws into (the target, or the child made for it); 0 without a
  // device.
  Window Drawable() const { return drawable_; }

 private:
  bool Device() const { return static_cast<bool>(context_) && !lost_; }
  // The drawable's size, read once per frame; a child window is kept at its parent's size.
  bool RefreshSize();
  Viewport3D CurrentViewport() const;
  void ApplyViewport();
  bool ApplyRenderSwitch(const GlRenderSwitch& s);
  void DrawFrameRate();

  Display* display_;
  Window target_;
  Process& process_;
  bool show_fps_;
  bool root_ = false;
  bool direct3d_ = false;
  // The child window and its colormap outlive the context drawing into them.
  UniqueColormap colormap_;
  UniqueWindow child_;
  Window drawable_ = 0;
  GlxWindow glx_window_;
  GlContext context_;
  GlTextures textures_;
  GlFont font_;
  bool lost_ = false;  // the window went away
  bool size_known_ = false;
  int width_ = 0;
  int height_ = 0;
  std::optional<Viewport3D> viewport_;  // none: the whole drawable
  std::optional<GlVertexLayout> layout_;
  std::vector<std::vector<unsigned char>> buffers_;  // handle n is entry n - 1
  const std::vector<unsigned char>* stream_ = nullptr;
  std::uint32_t stride_ = 0;
  Matrix4 world_;
  Matrix4 view_;
  Matrix4 projection_;
  bool in_scene_ = false;
  GLuint bound_texture_ = 0;
  bool font_tried_ = false;
  FrameRateText frame_rate_;
  BenchStatistics statistics_;
};

}  // namespace tolvenar::linux_port
