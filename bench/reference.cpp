// The benchmark's reference: a full-screen window, a Direct3D 8 device with the saver's settings,
// six 256 x 256 A8R8G8B8 managed textures and six 4-vertex buffers, and a loop that clears, draws
// the six quads and presents until a key or a mouse button. Frames are counted like the saver's
// (TOLVENAR_BENCH_FILE).
#include <windows.h>
#include <d3d8.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "runtime/picture.h"
#include "scene/bench_statistics.h"
#include "scene/direct3d_scene.h"
#include "scene/texels.h"

namespace {

// The loop's flag lives in WinMain; the window carries a pointer to it.
LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_CLOSE:
      if (auto* running = reinterpret_cast<bool*>(GetWindowLongPtrA(window, GWLP_USERDATA))) {
        *running = false;
      }
      return 0;
    default:
      return DefWindowProcA(window, message, w, l);
  }
}

// The texels of face k: the saver's picture "Tolvenar<k+1>.bmp" from the working folder when it is
// there (so that both programs sample the same pictures), a gradient otherwise.
std::vector<std::uint32_t> FaceTexels(int k) {
  std::ifstream file("Tolvenar" + std::to_string(k + 1) + ".bmp", std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  if (const std::optional<tolvenar::Picture> picture = tolvenar::DecodePicture(bytes)) {
    return tolvenar::TopLevelTexels(*picture, 256, 256, 1);
  }
  std::vector<std::uint32_t> texels(256 * 256);
  for (std::uint32_t i = 0; i < texels.size(); ++i) {
    texels[i] = 0xFF000000u | ((i & 255) << 16) | ((i >> 8) << 8) | (k * 40);
  }
  return texels;
}

// The view turned about Y by yaw and then about X by pitch, as the saver's drift turns it.
D3DMATRIX View(float yaw, float pitch) {
  const float cy = std::cos(yaw), sy = std::sin(yaw), cp = std::cos(pitch), sp = std::sin(pitch);
  D3DMATRIX m{};
  m._11 = cy;
  m._12 = sy * sp;
  m._13 = -sy * cp;
  m._22 = cp;
  m._23 = sp;
  m._31 = sy;
  m._32 = -cy * sp;
  m._33 = cy * cp;
  m._44 = 1;
  return m;
}

D3DMATRIX RotationY(float a) {
  D3DMATRIX m{};
  m._11 = std::cos(a);
  m._13 = -std::sin(a);
  m._22 = 1;
  m._31 = std::sin(a);
  m._33 = std::cos(a);
  m._44 = 1;
  return m;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  tolvenar::BenchStatistics statistics;
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = instance;
  window_class.lpszClassName = "BenchReference";
  RegisterClassA(&window_class);
  HWND window = CreateWindowExA(0, "BenchReference", "Bench reference", WS_POPUP, 0, 0,
                                GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                nullptr, nullptr, instance, nullptr);
  bool running = true;
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&running));
  ShowWindow(window, SW_SHOWNORMAL);

  HMODULE d3d8 = LoadLibraryA("d3d8.dll");
  if (!d3d8) return 1;
  using Create = IDirect3D8*(WINAPI*)(UINT);
  auto create = reinterpret_cast<Create>(
      reinterpret_cast<void (*)()>(GetProcAddress(d3d8, "Direct3DCreate8")));
  IDirect3D8* direct3d = create ? create(D3D_SDK_VERSION) : nullptr;
  if (!direct3d) return 1;
  D3DDISPLAYMODE mode{};
  direct3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode);
  D3DPRESENT_PARAMETERS present{};
  present.Windowed = TRUE;
  present.SwapEffect = D3DSWAPEFFECT_COPY_VSYNC;
  present.BackBufferFormat = mode.Format;
  IDirect3DDevice8* device = nullptr;
  if (FAILED(direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                    D3DCREATE_SOFTWARE_VERTEXPROCESSING, &present, &device))) {
    return 1;
  }
  device->SetVertexShader(tolvenar::kFaceVertexFormat);
  device->SetRenderState(D3DRS_LIGHTING, FALSE);

  IDirect3DVertexBuffer8* buffers[6] = {};
  IDirect3DTexture8* textures[6] = {};
  for (int k = 0; k < 6; ++k) {
    device->CreateVertexBuffer(96, 0, tolvenar::kFaceVertexFormat, D3DPOOL_MANAGED, &buffers[k]);
    BYTE* bytes = nullptr;
    buffers[k]->Lock(0, 96, &bytes, 0);
    for (int i = 0; i < 4; ++i) {
      const tolvenar::FaceCorner& c = tolvenar::kFaceTable[k][i];
      const tolvenar::FaceVertex v{c.x, c.y, c.z, 0xFFFFFFFF, c.tu, c.tv};
      std::memcpy(bytes + i * sizeof v, &v, sizeof v);
    }
    buffers[k]->Unlock();
    device->CreateTexture(256, 256, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &textures[k]);
    D3DLOCKED_RECT locked;
    textures[k]->LockRect(0, &locked, nullptr, 0);
    const std::vector<std::uint32_t> texels = FaceTexels(k);
    for (int y = 0; y < 256; ++y) {
      std::memcpy(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch, &texels[y * 256], 256 * 4);
    }
    textures[k]->UnlockRect(0);
  }
  D3DMATRIX projection{};
  projection._11 = projection._22 = 0.30915f;
  projection._33 = 1.0000001f;
  projection._34 = 1;
  projection._43 = -0.0010000001f;
  device->SetTransform(D3DTS_PROJECTION, &projection);

  float angle = 0;
  int drift_frames = 0;
  while (running) {
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00CCCCFF, 1.0f, 0);
    device->BeginScene();
    angle += 0.0018f;
    const D3DMATRIX world = RotationY(angle);
    device->SetTransform(D3DTS_WORLD, &world);
    // The saver's drift at mid-range steps, snapping back every 1001 frames.
    drift_frames = drift_frames >= 1000 ? 0 : drift_frames + 1;
    const D3DMATRIX view = View(drift_frames * 0.005f, drift_frames * 0.005f);
    device->SetTransform(D3DTS_VIEW, &view);
    for (int k = 0; k < 6; ++k) {
      device->SetTexture(0, textures[k]);
      device->SetStreamSource(0, buffers[k], sizeof(tolvenar::FaceVertex));
      device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
      device->SetTexture(0, nullptr);
    }
    device->EndScene();
    if (SUCCEEDED(device->Present(nullptr, nullptr, nullptr, nullptr))) statistics.FramePresented();
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  statistics.Write();
  for (int k = 0; k < 6; ++k) {
    textures[k]->Release();
    buffers[k]->Release();
  }
  device->Release();
  direct3d->Release();
  DestroyWindow(window);
  return 0;
}
