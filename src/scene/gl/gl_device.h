#pragma once
// Graphics3D on legacy OpenGL (through libepoxy), drawing on whatever surface gives it a context:
// the Direct3D conventions the scene relies on come from scene/gl_conventions.h. DirectInput's
// calls succeed and do nothing; the host of the window handles input. Textures are read through
// Process and decoded from BMP (or PNG).
//
// Once the surface reports its window gone, every call fails and the release calls still clean
// up.
#include <epoxy/gl.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "runtime/process.h"
#include "scene/gl/gl_surface.h"
#include "scene/emulation/gl_conventions.h"
#include "scene/graphics3d.h"

namespace tolvenar::gl {

// GL names made in the current context, deleted with the object (the context must still be
// current then).
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
  // Has the surface make the lists in the current context; false when it cannot.
  bool Load(GlSurface& surface);
  void reset();
  explicit operator bool() const { return lists_.base != 0; }
  // Draws `text` with its baseline's left end at the raster position.
  void Draw(const std::string& text) const;
  int Descent() const { return lists_.descent; }

 private:
  FontLists lists_;
};

class GlDevice : public Graphics3D {
 public:
  // Draws on `surface`, which outlives this object. With show_fps every presented frame carries
  // the frame rate in its lower-left corner.
  GlDevice(GlSurface& surface, Process& process, bool show_fps = false);
  GlDevice(const GlDevice&) = delete;
  GlDevice& operator=(const GlDevice&) = delete;
  ~GlDevice() override;

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

 private:
  bool Device() const { return context_ && !lost_; }
  // The surface's size, read once per frame.
  bool RefreshSize();
  Viewport3D CurrentViewport() const;
  void ApplyViewport();
  bool ApplyRenderSwitch(const GlRenderSwitch& s);
  void DrawFrameRate();

  GlSurface& surface_;
  Process& process_;
  bool show_fps_;
  bool root_ = false;
  bool direct3d_ = false;
  bool context_ = false;  // the surface holds a context made for this device
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

}  // namespace tolvenar::gl
