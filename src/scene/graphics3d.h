#pragma once
// The 3D device the saver scene draws with: exactly the Direct3D 8 and DirectInput 8 operations
// the scene uses. Every operation reports success; objects are handles owned by the back end and
// live until the back end goes away.
#include <cstdint>
#include <string>

#include "runtime/pixel_geometry.h"
#include "runtime/window_handle.h"

namespace tolvenar {

// A 4 x 4 single-precision matrix in the row-vector convention (m[row][column]).
struct Matrix4 {
  float m[4][4] = {};
};

// The present parameters the scene sets; every field not named here is 0.
struct PresentParameters {
  bool windowed = false;
  std::uint32_t swap_effect = 0;
  std::uint32_t back_buffer_format = 0;
  // 0 x 0: the window's client area. Otherwise a back buffer of this size, which every Present
  // copies to `present_to` (a rectangle of the client area) while the rest keeps its background.
  std::uint32_t back_buffer_width = 0;
  std::uint32_t back_buffer_height = 0;
  PixelRect present_to{};
};

// The arguments of a texture load from a picture file (no source info, no palette).
struct TextureFileArguments {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint32_t mip_levels = 0;  // 0: the full chain
  std::uint32_t usage = 0;
  std::uint32_t format = 0;
  std::uint32_t pool = 0;
  std::uint32_t filter = 0;
  std::uint32_t mip_filter = 0;
  std::uint32_t colour_key = 0;
};

// The part of the render target that drawing (and a Clear) goes to, in pixels; depth 0 to 1.
struct Viewport3D {
  std::uint32_t x = 0;
  std::uint32_t y = 0;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  float min_z = 0;
  float max_z = 1;
};

enum class VertexBuffer3D : std::uint32_t { kNone = 0 };
enum class Texture3D : std::uint32_t { kNone = 0 };

class Graphics3D {
 public:
  virtual ~Graphics3D() = default;
  // Creates the root object of the DirectX runtime.
  virtual bool CreateRoot() = 0;
  // Creates the Direct3D object from the root object.
  virtual bool CreateDirect3D() = 0;
  // The pixel format of the adapter's current display mode.
  virtual bool GetAdapterDisplayModeFormat(std::uint32_t adapter, std::uint32_t& format) = 0;
  // Creates the device with the back end's window as the focus window.
  virtual bool CreateDevice(std::uint32_t adapter, std::uint32_t device_type,
                            std::uint32_t behaviour_flags, const PresentParameters& parameters) = 0;
  // Sets the fixed-function vertex format.
  virtual bool SetVertexShader(std::uint32_t vertex_format) = 0;
  virtual bool SetRenderState(std::uint32_t state, std::uint32_t value) = 0;
  virtual bool CreateVertexBuffer(std::uint32_t length, std::uint32_t usage,
                                  std::uint32_t vertex_format, std::uint32_t pool,
                                  VertexBuffer3D& buffer) = 0;
  // Copies size bytes from data into the buffer at offset.
  virtual bool SetVertexBufferData(VertexBuffer3D buffer, std::uint32_t offset, std::uint32_t size,
                                   std::uint32_t flags, const void* data) = 0;
  // Creates DirectInput from the root object.
  virtual bool CreateDirectInput() = 0;
  // Creates the system mouse device.
  virtual bool CreateMouseDevice() = 0;
  // Sets a common data format on the mouse device (2: the standard mouse format).
  virtual bool SetMouseCommonDataFormat(std::uint32_t common_format) = 0;
  // window 0 means no window.
  virtual bool SetMouseCooperativeLevel(WindowHandle window, std::uint32_t flags) = 0;
  virtual bool AcquireMouse() = 0;
  virtual bool SetTransform(std::uint32_t state, const Matrix4& matrix) = 0;
  // Loads a picture file into a new texture.
  virtual bool CreateTextureFromFile(const std::string& path, const TextureFileArguments& arguments,
                                     Texture3D& texture) = 0;
  // Until the first call the viewport is the whole render target.
  virtual bool SetViewport(const Viewport3D& viewport) = 0;
  // Clears the whole viewport (no rectangles).
  virtual bool Clear(std::uint32_t flags, std::uint32_t colour, float z, std::uint32_t stencil) = 0;
  virtual bool BeginScene() = 0;
  // Texture3D::kNone unbinds the stage.
  virtual bool SetTexture(std::uint32_t stage, Texture3D texture) = 0;
  virtual bool SetStreamSource(std::uint32_t stream, VertexBuffer3D buffer,
                               std::uint32_t stride) = 0;
  virtual bool DrawPrimitive(std::uint32_t primitive_type, std::uint32_t start_vertex,
                             std::uint32_t primitive_count) = 0;
  virtual bool EndScene() = 0;
  // Presents the whole back buffer to the focus window (no rectangles, no dirty region).
  virtual bool Present() = 0;
  // Release the device, the Direct3D object and the root object; each is a no-op when absent.
  virtual void ReleaseDevice() = 0;
  virtual void ReleaseDirect3D() = 0;
  virtual void ReleaseRoot() = 0;
};

}  // namespace tolvenar
