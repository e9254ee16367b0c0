#pragma once
// Graphics3D on the platform's Direct3D 8 (d3d8.dll) and DirectInput 8 (dinput8.dll), both loaded
// at run time. Textures are read from 24-bit BMP (or PNG/JPEG) files into the top level.
#include <windows.h>
#define DIRECTINPUT_VERSION 0x0800
#include <d3d8.h>
#include <dinput.h>

#include <string>
#include <vector>

#include "runtime/win32/handles.h"
#include "scene/bench_statistics.h"
#include "scene/graphics3d.h"
#include "scene/win32/device_warm_up.h"

namespace tolvenar::win32 {

class Win32Graphics3D final : public Graphics3D {
 public:
  // window is the focus window of the device and the window presented to. With a warm-up, the
  // library and the Direct3D object it made are taken from it; what it lacks is made here.
  explicit Win32Graphics3D(HWND window, DeviceWarmUp* warm_up = nullptr);
  Win32Graphics3D(const Win32Graphics3D&) = delete;
  Win32Graphics3D& operator=(const Win32Graphics3D&) = delete;
  ~Win32Graphics3D() override;

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
  bool CreateDirectInput() override;
  bool CreateMouseDevice() override;
  bool SetMouseCommonDataFormat(std::uint32_t common_format) override;
  bool SetMouseCooperativeLevel(WindowHandle window, std::uint32_t flags) override;
  bool AcquireMouse() override;
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

  // For tests: the device and a texture made by CreateTextureFromFile.
  IDirect3DDevice8* Device() const { return device_.get(); }
  IDirect3DTexture8* Texture(Texture3D texture) const;

 private:
  IDirect3DVertexBuffer8* Buffer(VertexBuffer3D buffer) const;
  // Whether the device can draw on a back buffer of that size (0 x 0: the window's client area).
  bool BackBufferFits(std::uint32_t adapter, D3DDEVTYPE type,
                      const D3DPRESENT_PARAMETERS& present) const;

  HWND window_;
  DeviceWarmUp* warm_up_;
  // Declared first so that they are freed after every object made from them.
  UniqueModule d3d8_;
  UniqueModule dinput8_;
  using Direct3DCreate8Function = IDirect3D8*(WINAPI*)(UINT);
  Direct3DCreate8Function direct3d_create_ = nullptr;
  ComPtr<IDirect3D8> direct3d_;
  ComPtr<IDirect3DDevice8> device_;
  std::vector<ComPtr<IDirect3DVertexBuffer8>> buffers_;  // handle n is entry n - 1
  std::vector<ComPtr<IDirect3DTexture8>> textures_;      // handle n is entry n - 1
  ComPtr<IDirectInput8A> direct_input_;
  ComPtr<IDirectInputDevice8A> mouse_;
  PixelRect present_to_;  // all zero: the whole client area
  BenchStatistics statistics_;
};

}  // namespace tolvenar::win32
