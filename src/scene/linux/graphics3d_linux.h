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

#include "runtime/process.h"
#include "scene/gl_conventions.h"
#include "scene/graphics3d.h"

namespace tolvenar::linux_port {

// A GLX context, released (and made not current) with the object.
class GlContext {
 public:
  GlContext() = default;
  GlContext(Display* display, GLXContext context) : display_(display), context_(context) {}
  GlContext(const GlContext&) = delete;
  GlContext& operator=(const GlContext&) = delete;
  GlContext(GlContext&& o) noexcept { *this = std::move(o); }
  GlContext& operator=(GlContext&& o) noexcept;
  ~GlContext() { reset(); }
  void reset();
  explicit operator bool() const { return context_ != nullptr; }
  GLXContext get() const { return context_; }

 private:
  Display* display_ = nullptr;
  GLXContext context_ = nullptr;
};

// An X resource freed by `Free(display, id)` with the object.
template <int (*Free)(Display*, XID)>
class UniqueXid {
 public:
  UniqueXid() = default;
  UniqueXid(Display* display, XID id) : display_(display), id_(id) {}
  UniqueXid(const UniqueXid&) = delete;
  UniqueXid& operator=(const UniqueXid&) = delete;
  UniqueXid(UniqueXid&& o) noexcept { *this = std::move(o); }
  UniqueXid& operator=(UniqueXid&& o) noexcept {
    if (this != &o) {
      reset();
      display_ = o.display_;
      id_ = o.id_;
      o.id_ = 0;
    }
    return *this;
  }
  ~UniqueXid() { reset(); }
  void reset() {
    if (id_ != 0) Free(display_, id_);
    id_ = 0;
  }
  XID get() const { return id_; }

 private:
  Display* display_ = nullptr;
  XID id_ = 0;
};
using UniqueWindow = UniqueXid<XDestroyWindow>;
using UniqueColormap = UniqueXid<XFreeColormap>;

// The GLX drawable of an X window for a context made from a GLXFBConfig, destroyed with the
// object.
class GlxWindow {
 public:
  GlxWindow() = default;
  GlxWindow(Display* display, GLXWindow window) : display_(display), window_(window) {}
  GlxWindow(const GlxWindow&) = delete;
  GlxWindow& operator=(const GlxWindow&) = delete;
  GlxWindow(GlxWindow&& o) noexcept { *this = std::move(o); }
  GlxWindow& operator=(GlxWindow&& o) noexcept {
    if (this != &o) {
      reset();
      display_ = o.display_;
      window_ = std::exchange(o.window_, 0);
    }
    return *this;
  }
  ~GlxWindow() { reset(); }
  void reset() {
    if (window_ != 0) glXDestroyWindow(display_, window_);
    window_ = 0;
  }
  GLXWindow get() const { return window_; }

 private:
  Display* display_ = nullptr;
  GLXWindow window_ = 0;
};

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
};

}  // namespace tolvenar::linux_port
