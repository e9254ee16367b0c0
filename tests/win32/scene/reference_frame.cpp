// Renders the reference frame (scene/reference_frame.h) with the real scene on the platform's
// Direct3D 8 and writes the window's pixels as a 24-bit BMP file: reference_frame <output.bmp>.
// The face pictures are the embedded ones, written out as the saver writes them.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "runtime/picture.h"
#include "runtime/randomness.h"
#include "runtime/win32/embedded_data_win32.h"
#include "runtime/win32/process_win32.h"
#include "scene/cube_faces.h"
#include "scene/direct3d_scene.h"
#include "scene/reference_frame.h"
#include "scene/win32/graphics3d_win32.h"
#include "screen_pixels.h"

namespace {

using tolvenar::testing::kReferenceHeight;
using tolvenar::testing::kReferenceWidth;

void PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

tolvenar::Picture WindowPicture() {
  tolvenar::Picture picture{kReferenceWidth, kReferenceHeight, {}};
  for (const std::uint32_t p : tolvenar::win32::ScreenPixels(kReferenceWidth, kReferenceHeight)) {
    picture.rgb.insert(picture.rgb.end(),
                       {static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
                        static_cast<std::uint8_t>(p)});
  }
  return picture;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: reference_frame OUTPUT.bmp\n");
    return 2;
  }
  tolvenar::win32::Win32Process process;
  tolvenar::win32::Win32EmbeddedData embedded;
  const std::string folder = process.TemporaryDirectory();
  for (int k = 1; k <= tolvenar::kFaceCount; ++k) {
    const auto picture = tolvenar::DecodePicture(embedded.Bytes("FACE" + std::to_string(k)));
    if (!picture || !process.WriteWholeFile(tolvenar::FacePictureFile(folder, k),
                                            tolvenar::EncodeBmp24(*picture))) {
      std::fprintf(stderr, "cannot write face picture %d\n", k);
      return 1;
    }
  }

  WNDCLASSA window_class{};
  window_class.lpfnWndProc = DefWindowProcA;
  window_class.hInstance = GetModuleHandleA(nullptr);
  window_class.lpszClassName = "ReferenceFrame";
  RegisterClassA(&window_class);
  HWND window = CreateWindowExA(WS_EX_TOPMOST, "ReferenceFrame", "reference frame", WS_POPUP, 0, 0,
                                kReferenceWidth, kReferenceHeight, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  PumpMessages();

  int status = 1;
  {
    tolvenar::win32::Win32Graphics3D graphics(window);
    tolvenar::LinearRandomness randomness;
    tolvenar::Direct3DScene scene(graphics, randomness);
    if (scene.Initialize(folder, [] { return true; })) {
      tolvenar::testing::SetReferenceFrame(scene);
      scene.Render();
      PumpMessages();
      Sleep(200);
      status = process.WriteWholeFile(argv[1], tolvenar::EncodeBmp24(WindowPicture())) ? 0 : 1;
    } else {
      std::fprintf(stderr, "the scene did not initialize\n");
    }
    scene.Release();
  }
  DestroyWindow(window);
  for (int k = 1; k <= tolvenar::kFaceCount; ++k) {
    process.RemoveFile(tolvenar::FacePictureFile(folder, k));
  }
  return status;
}
