#include "scene/win32/graphics3d_win32.h"

#include <cstring>
#include <optional>

#include "runtime/picture.h"
#include "runtime/win32/handles.h"
#include "runtime/win32/system_function.h"
#include "scene/texels.h"

namespace tolvenar::win32 {

namespace {

constexpr std::uint32_t kMouseDataFormat = 2;

std::optional<std::string> ReadWholeFile(const std::string& path) {
  UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > 64 * 1024 * 1024) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!bytes.empty() &&
      (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
       read != bytes.size())) {
    return std::nullopt;
  }
  return bytes;
}

D3DMATRIX ToD3D(const Matrix4& matrix) {
  D3DMATRIX d3d;
  static_assert(sizeof d3d.m == sizeof matrix.m);
  std::memcpy(d3d.m, matrix.m, sizeof d3d.m);
  return d3d;
}

}  // namespace

Win32Graphics3D::Win32Graphics3D(HWND window, DeviceWarmUp* warm_up)
    : window_(window), warm_up_(warm_up) {}

Win32Graphics3D::~Win32Graphics3D() { statistics_.Write(); }

bool Win32Graphics3D::CreateRoot() {
  // Until the warm-up has made Direct3D this thread would only wait: it loads DirectInput's
  // library meanwhile, which Initialize needs a few steps later.
  if (warm_up_ && !dinput8_) dinput8_ = UniqueModule(LoadLibraryA("dinput8.dll"));
  if (warm_up_) d3d8_ = warm_up_->TakeDirect3DLibrary();
  if (!d3d8_) d3d8_ = UniqueModule(LoadLibraryA("d3d8.dll"));
  if (!d3d8_) return false;
  direct3d_create_ = ModuleFunction<Direct3DCreate8Function>(d3d8_.get(), "Direct3DCreate8");
  return direct3d_create_ != nullptr;
}

bool Win32Graphics3D::CreateDirect3D() {
  if (!direct3d_create_) return false;
  if (warm_up_) direct3d_ = warm_up_->TakeDirect3D();
  if (!direct3d_) direct3d_ = ComPtr<IDirect3D8>(direct3d_create_(D3D_SDK_VERSION));
  return static_cast<bool>(direct3d_);
}

bool Win32Graphics3D::GetAdapterDisplayModeFormat(std::uint32_t adapter, std::uint32_t& format) {
  if (!direct3d_) return false;
  D3DDISPLAYMODE mode{};
  if (FAILED(direct3d_->GetAdapterDisplayMode(adapter, &mode))) return false;
  format = static_cast<std::uint32_t>(mode.Format);
  return true;
}

bool Win32Graphics3D::CreateDevice(std::uint32_t adapter, std::uint32_t device_type,
                                   std::uint32_t behaviour_flags,
                                   const PresentParameters& parameters) {
  if (!direct3d_) return false;
  D3DPRESENT_PARAMETERS present{};
  present.BackBufferWidth = parameters.back_buffer_width;
  present.BackBufferHeight = parameters.back_buffer_height;
  present.Windowed = parameters.windowed ? TRUE : FALSE;
  present.SwapEffect = static_cast<D3DSWAPEFFECT>(parameters.swap_effect);
  present.BackBufferFormat = static_cast<D3DFORMAT>(parameters.back_buffer_format);
  const auto type = static_cast<D3DDEVTYPE>(device_type);
  if (!BackBufferFits(adapter, type, present)) return false;
  if (FAILED(direct3d_->CreateDevice(adapter, type, window_, behaviour_flags, &present,
                                     device_.put()))) {
    return false;
  }
  present_to_ = parameters.present_to;
  return true;
}

bool Win32Graphics3D::BackBufferFits(std::uint32_t adapter, D3DDEVTYPE type,
                                     const D3DPRESENT_PARAMETERS& present) const {
  std::uint32_t width = present.BackBufferWidth;
  std::uint32_t height = present.BackBufferHeight;
  if (width == 0 || height == 0) {
    RECT client{};
    if (!GetClientRect(window_, &client)) return false;
    width = static_cast<std::uint32_t>(client.right - client.left);
    height = static_cast<std::uint32_t>(client.bottom - client.top);
  }
  // Some implementations make a back buffer past the largest surface they render to and report
  // success, and every frame is then lost: such a device is refused here, as others refuse it.
  D3DCAPS8 caps{};
  if (FAILED(direct3d_->GetDeviceCaps(adapter, type, &caps))) return false;
  return width <= caps.MaxTextureWidth && height <= caps.MaxTextureHeight;
}

bool Win32Graphics3D::SetVertexShader(std::uint32_t vertex_format) {
  return device_ && SUCCEEDED(device_->SetVertexShader(vertex_format));
}

bool Win32Graphics3D::SetRenderState(std::uint32_t state, std::uint32_t value) {
  return device_ &&
         SUCCEEDED(device_->SetRenderState(static_cast<D3DRENDERSTATETYPE>(state), value));
}

bool Win32Graphics3D::CreateVertexBuffer(std::uint32_t length, std::uint32_t usage,
                                         std::uint32_t vertex_format, std::uint32_t pool,
                                         VertexBuffer3D& buffer) {
  if (!device_) return false;
  ComPtr<IDirect3DVertexBuffer8> created;
  if (FAILED(device_->CreateVertexBuffer(length, usage, vertex_format, static_cast<D3DPOOL>(pool),
                                         created.put()))) {
    return false;
  }
  buffers_.push_back(std::move(created));
  buffer = static_cast<VertexBuffer3D>(buffers_.size());
  return true;
}

bool Win32Graphics3D::SetVertexBufferData(VertexBuffer3D buffer, std::uint32_t offset,
                                          std::uint32_t size, std::uint32_t flags,
                                          const void* data) {
  IDirect3DVertexBuffer8* target = Buffer(buffer);
  if (!target) return false;
  BYTE* bytes = nullptr;
  if (FAILED(target->Lock(offset, size, &bytes, flags))) return false;
  std::memcpy(bytes, data, size);
  return SUCCEEDED(target->Unlock());
}

bool Win32Graphics3D::CreateDirectInput() {
  if (!dinput8_) dinput8_ = UniqueModule(LoadLibraryA("dinput8.dll"));
  if (!dinput8_) return false;
  using Create = HRESULT(WINAPI*)(HINSTANCE, DWORD, REFIID, LPVOID*, LPUNKNOWN);
  auto create = ModuleFunction<Create>(dinput8_.get(), "DirectInput8Create");
  if (!create) return false;
  void* created = nullptr;
  if (FAILED(create(GetModuleHandleA(nullptr), DIRECTINPUT_VERSION, IID_IDirectInput8A, &created,
                    nullptr))) {
    return false;
  }
  direct_input_ = ComPtr<IDirectInput8A>(static_cast<IDirectInput8A*>(created));
  return true;
}

bool Win32Graphics3D::CreateMouseDevice() {
  return direct_input_ &&
         SUCCEEDED(direct_input_->CreateDevice(GUID_SysMouse, mouse_.put(), nullptr));
}

bool Win32Graphics3D::SetMouseCommonDataFormat(std::uint32_t common_format) {
  if (!mouse_ || common_format != kMouseDataFormat) return false;
  return SUCCEEDED(mouse_->SetDataFormat(&c_dfDIMouse));
}

bool Win32Graphics3D::SetMouseCooperativeLevel(WindowHandle window, std::uint32_t flags) {
  return mouse_ && SUCCEEDED(mouse_->SetCooperativeLevel(reinterpret_cast<HWND>(window), flags));
}

bool Win32Graphics3D::AcquireMouse() { return mouse_ && SUCCEEDED(mouse_->Acquire()); }

bool Win32Graphics3D::SetTransform(std::uint32_t state, const Matrix4& matrix) {
  if (!device_) return false;
  const D3DMATRIX d3d = ToD3D(matrix);
  return SUCCEEDED(device_->SetTransform(static_cast<D3DTRANSFORMSTATETYPE>(state), &d3d));
}

bool Win32Graphics3D::CreateTextureFromFile(const std::string& path,
                                            const TextureFileArguments& arguments,
                                            Texture3D& texture) {
  if (!device_ || arguments.format != D3DFMT_A8R8G8B8) return false;
  const std::optional<std::string> bytes = ReadWholeFile(path);
  if (!bytes) return false;
  const std::optional<Picture> picture = DecodePicture(*bytes);
  if (!picture) return false;

  ComPtr<IDirect3DTexture8> created;
  if (FAILED(device_->CreateTexture(arguments.width, arguments.height, arguments.mip_levels,
                                    arguments.usage, D3DFMT_A8R8G8B8,
                                    static_cast<D3DPOOL>(arguments.pool), created.put()))) {
    return false;
  }
  // Only the top level is filled: the scene samples no other level.
  const std::vector<std::uint32_t> texels =
      TopLevelTexels(*picture, arguments.width, arguments.height, arguments.filter);
  D3DLOCKED_RECT locked;
  if (FAILED(created->LockRect(0, &locked, nullptr, 0))) return false;
  const std::size_t row_bytes = arguments.width * sizeof(std::uint32_t);
  for (std::uint32_t y = 0; y < arguments.height; ++y) {
    std::memcpy(static_cast<BYTE*>(locked.pBits) + static_cast<std::size_t>(y) * locked.Pitch,
                texels.data() + static_cast<std::size_t>(y) * arguments.width, row_bytes);
  }
  if (FAILED(created->UnlockRect(0))) return false;
  textures_.push_back(std::move(created));
  texture = static_cast<Texture3D>(textures_.size());
  return true;
}

bool Win32Graphics3D::SetViewport(const Viewport3D& viewport) {
  if (!device_) return false;
  D3DVIEWPORT8 d3d{viewport.x,      viewport.y,     viewport.width,
                   viewport.height, viewport.min_z, viewport.max_z};
  return SUCCEEDED(device_->SetViewport(&d3d));
}

bool Win32Graphics3D::Clear(std::uint32_t flags, std::uint32_t colour, float z,
                            std::uint32_t stencil) {
  return device_ && SUCCEEDED(device_->Clear(0, nullptr, flags, colour, z, stencil));
}

bool Win32Graphics3D::BeginScene() { return device_ && SUCCEEDED(device_->BeginScene()); }

bool Win32Graphics3D::SetTexture(std::uint32_t stage, Texture3D texture) {
  if (!device_) return false;
  IDirect3DTexture8* bound = nullptr;
  if (texture != Texture3D::kNone) {
    bound = Texture(texture);
    if (!bound) return false;
  }
  return SUCCEEDED(device_->SetTexture(stage, bound));
}

bool Win32Graphics3D::SetStreamSource(std::uint32_t stream, VertexBuffer3D buffer,
                                      std::uint32_t stride) {
  IDirect3DVertexBuffer8* source = Buffer(buffer);
  return device_ && source && SUCCEEDED(device_->SetStreamSource(stream, source, stride));
}

bool Win32Graphics3D::DrawPrimitive(std::uint32_t primitive_type, std::uint32_t start_vertex,
                                    std::uint32_t primitive_count) {
  return device_ && SUCCEEDED(device_->DrawPrimitive(static_cast<D3DPRIMITIVETYPE>(primitive_type),
                                                     start_vertex, primitive_count));
}

bool Win32Graphics3D::EndScene() { return device_ && SUCCEEDED(device_->EndScene()); }

bool Win32Graphics3D::Present() {
  if (!device_) return false;
  const RECT to{present_to_.left, present_to_.top, present_to_.right, present_to_.bottom};
  const bool whole = present_to_ == PixelRect{};
  if (FAILED(device_->Present(nullptr, whole ? nullptr : &to, nullptr, nullptr))) return false;
  statistics_.FramePresented();
  return true;
}

void Win32Graphics3D::ReleaseDevice() {
  statistics_.Write();
  device_.reset();
}

void Win32Graphics3D::ReleaseDirect3D() { direct3d_.reset(); }

// The libraries stay loaded while objects made from them (textures, buffers, the mouse) live; they
// are freed with this object.
void Win32Graphics3D::ReleaseRoot() { direct3d_create_ = nullptr; }

IDirect3DTexture8* Win32Graphics3D::Texture(Texture3D texture) const {
  const auto index = static_cast<std::size_t>(texture);
  return index >= 1 && index <= textures_.size() ? textures_[index - 1].get() : nullptr;
}

IDirect3DVertexBuffer8* Win32Graphics3D::Buffer(VertexBuffer3D buffer) const {
  const auto index = static_cast<std::size_t>(buffer);
  return index >= 1 && index <= buffers_.size() ? buffers_[index - 1].get() : nullptr;
}

}  // namespace tolvenar::win32
