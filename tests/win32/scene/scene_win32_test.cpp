// The scene on the real Direct3D 8 of the platform: the texture loader and a few frames.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "runtime/picture.h"
#include "runtime/randomness.h"
#include "runtime/win32/process_win32.h"
#include "scene/direct3d_scene.h"
#include "scene/win32/device_warm_up.h"
#include "scene/win32/direct3d_scene_win32.h"
#include "scene/win32/graphics3d_win32.h"
#include "screen_pixels.h"

namespace tolvenar::win32 {
namespace {

constexpr int kWindowSize = 256;

// A visible, topmost, borderless window at the top-left corner of the screen.
class TestWindow {
 public:
  TestWindow() {
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = DefWindowProcA;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.lpszClassName = "SceneTestWindow";
    RegisterClassA(&window_class);
    window_ =
        CreateWindowExA(WS_EX_TOPMOST, "SceneTestWindow", "scene test", WS_POPUP, 0, 0, kWindowSize,
                        kWindowSize, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ShowWindow(window_, SW_SHOWNORMAL);
    UpdateWindow(window_);
    PumpMessages();
  }
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;
  ~TestWindow() { DestroyWindow(window_); }
  HWND get() const { return window_; }
  static void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }

 private:
  HWND window_ = nullptr;
};

std::string TempFolder() {
  char path[MAX_PATH];
  GetTempPathA(sizeof path, path);
  std::string folder =
      std::string(path) + "tolvenar-scene-" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

// A 256 x 256 picture whose pixel (x, y) is (x, y, 255 - x); or one colour everywhere.
Picture Gradient() {
  Picture p{256, 256, std::vector<std::uint8_t>(256 * 256 * 3)};
  for (int y = 0; y < 256; ++y) {
    for (int x = 0; x < 256; ++x) {
      std::uint8_t* px = &p.rgb[(y * 256 + x) * 3];
      px[0] = static_cast<std::uint8_t>(x);
      px[1] = static_cast<std::uint8_t>(y);
      px[2] = static_cast<std::uint8_t>(255 - x);
    }
  }
  return p;
}

Picture Solid(std::uint32_t rgb) {
  Picture p{256, 256, std::vector<std::uint8_t>(256 * 256 * 3)};
  for (std::size_t i = 0; i < p.rgb.size(); i += 3) {
    p.rgb[i] = static_cast<std::uint8_t>(rgb >> 16);
    p.rgb[i + 1] = static_cast<std::uint8_t>(rgb >> 8);
    p.rgb[i + 2] = static_cast<std::uint8_t>(rgb);
  }
  return p;
}

TextureFileArguments FaceArguments(std::uint32_t filter) {
  TextureFileArguments a;
  a.width = 256;
  a.height = 256;
  a.format = D3DFMT_A8R8G8B8;
  a.pool = D3DPOOL_MANAGED;
  a.filter = filter;
  a.mip_filter = 1;
  return a;
}

bool MakeDevice(Win32Graphics3D& graphics) {
  std::uint32_t format = 0;
  PresentParameters parameters;
  parameters.windowed = true;
  parameters.swap_effect = D3DSWAPEFFECT_COPY_VSYNC;
  return graphics.CreateRoot() && graphics.CreateDirect3D() &&
         graphics.GetAdapterDisplayModeFormat(0, format) &&
         (parameters.back_buffer_format = format,
          graphics.CreateDevice(0, D3DDEVTYPE_HAL, D3DCREATE_SOFTWARE_VERTEXPROCESSING,
                                parameters));
}

class SceneWin32Test : public ::testing::Test {
 protected:
  TestWindow window;
  std::string folder = TempFolder();
  Win32Process process;
};

TEST_F(SceneWin32Test, TextureLoaderFillsTheTopLevelFromA24BitBmp) {
  Win32Graphics3D graphics(window.get());
  ASSERT_TRUE(MakeDevice(graphics));
  const std::string path = folder + "\\gradient.bmp";
  ASSERT_TRUE(process.WriteWholeFile(path, EncodeBmp24(Gradient())));

  for (std::uint32_t filter : {1u, 2u}) {
    Texture3D texture = Texture3D::kNone;
    ASSERT_TRUE(graphics.CreateTextureFromFile(path, FaceArguments(filter), texture)) << filter;
    IDirect3DTexture8* d3d = graphics.Texture(texture);
    ASSERT_NE(d3d, nullptr);
    EXPECT_EQ(d3d->GetLevelCount(), 9u) << "the full mip chain of 256 x 256";
    D3DSURFACE_DESC desc;
    ASSERT_EQ(d3d->GetLevelDesc(0, &desc), D3D_OK);
    EXPECT_EQ(desc.Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(desc.Pool, D3DPOOL_MANAGED);
    EXPECT_EQ(desc.Width, 256u);

    D3DLOCKED_RECT locked;
    ASSERT_EQ(d3d->LockRect(0, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    const struct { int x, y; } points[] = {{0, 0}, {255, 0}, {0, 255}, {17, 200}, {255, 255}};
    for (const auto& p : points) {
      const auto* row = reinterpret_cast<const std::uint32_t*>(
          static_cast<const BYTE*>(locked.pBits) + p.y * locked.Pitch);
      const std::uint32_t expected = 0xFF000000u | (std::uint32_t(p.x) << 16) |
                                     (std::uint32_t(p.y) << 8) | std::uint32_t(255 - p.x);
      EXPECT_EQ(row[p.x], expected) << "filter " << filter << " texel " << p.x << "," << p.y;
    }
    d3d->UnlockRect(0);
  }
  DeleteFileA(path.c_str());
}

TEST_F(SceneWin32Test, TextureLoaderFailsOnAMissingOrBrokenFile) {
  Win32Graphics3D graphics(window.get());
  ASSERT_TRUE(MakeDevice(graphics));
  Texture3D texture = Texture3D::kNone;
  EXPECT_FALSE(graphics.CreateTextureFromFile(folder + "\\missing.bmp", FaceArguments(1), texture));
  const std::string path = folder + "\\broken.bmp";
  ASSERT_TRUE(process.WriteWholeFile(path, "BM not a picture"));
  EXPECT_FALSE(graphics.CreateTextureFromFile(path, FaceArguments(1), texture));
  EXPECT_EQ(texture, Texture3D::kNone);
  DeleteFileA(path.c_str());
}

TEST_F(SceneWin32Test, FramesOnTheRealDeviceShowTheFaceAhead) {
  // Each face one colour; in the first frames the view looks along +z at face 0.
  const std::uint32_t colours[6] = {0x2040A0, 0xA04020, 0x20A040, 0x808000, 0x008080, 0x800080};
  for (int k = 1; k <= 6; ++k) {
    ASSERT_TRUE(process.WriteWholeFile(folder + "\\Tolvenar" + std::to_string(k) + ".bmp",
                                       EncodeBmp24(Solid(colours[k - 1]))));
  }
  Win32Graphics3D graphics(window.get());
  LinearRandomness randomness;
  Direct3DScene scene(graphics, randomness);
  ASSERT_TRUE(scene.Initialize(folder, [] { return true; }));
  for (int frame = 0; frame < 5; ++frame) {
    scene.Render();
    TestWindow::PumpMessages();
  }
  EXPECT_EQ(scene.Drift().DriftFrames, 5);

  // The device presents to the X window, so the screen is read back through GDI.
  HDC screen = GetDC(nullptr);
  const COLORREF pixel = GetPixel(screen, kWindowSize / 2, kWindowSize / 2);
  ReleaseDC(nullptr, screen);
  const std::uint32_t centre =
      (GetRValue(pixel) << 16) | (GetGValue(pixel) << 8) | GetBValue(pixel);
  EXPECT_EQ(centre, colours[0]) << std::hex << "centre pixel 0x" << centre;
  scene.Release();
  for (int k = 1; k <= 6; ++k)
    DeleteFileA((folder + "\\Tolvenar" + std::to_string(k) + ".bmp").c_str());
}

// The window's pixels as read from the screen, 0xRRGGBB each.
std::vector<std::uint32_t> WindowPixels() { return ScreenPixels(kWindowSize, kWindowSize); }

TEST_F(SceneWin32Test, NoGapBetweenFacesWhereThreeMeet) {
  // All faces one colour, the view turned towards a corner of the box: any other colour on screen
  // (the clear colour CCCCFF above all) is a gap along an edge.
  const std::uint32_t colour = 0x336699;
  for (int k = 1; k <= 6; ++k) {
    ASSERT_TRUE(process.WriteWholeFile(folder + "\\Tolvenar" + std::to_string(k) + ".bmp",
                                       EncodeBmp24(Solid(colour))));
  }
  Win32Graphics3D graphics(window.get());
  LinearRandomness randomness;
  Direct3DScene scene(graphics, randomness);
  scene.Drift().YawStep = 0.785398f;  // 45 degrees: a vertical edge ahead
  scene.Drift().PitchStep = 0.6f;     // about 34 degrees: near the corner above it
  ASSERT_TRUE(scene.Initialize(folder, [] { return true; }));
  scene.Render();
  TestWindow::PumpMessages();
  scene.Render();
  TestWindow::PumpMessages();
  const std::vector<std::uint32_t> pixels = WindowPixels();
  int other = 0;
  std::uint32_t first_other = 0;
  for (std::uint32_t p : pixels) {
    if (p != colour && other++ == 0) first_other = p;
  }
  EXPECT_EQ(other, 0) << std::hex << "pixels not of the face colour, the first 0x" << first_other;
  scene.Release();
  for (int k = 1; k <= 6; ++k)
    DeleteFileA((folder + "\\Tolvenar" + std::to_string(k) + ".bmp").c_str());
}

// Face k's picture coloured by the box position each texel shows, through the face table's texture
// coordinates: red, green and blue grow with x, y and z from -10 to +10. Seen from inside, such a
// box is continuous across every edge exactly when the table's coordinates are.
Picture PositionColoured(int k) {
  Picture p{256, 256, std::vector<std::uint8_t>(256 * 256 * 3)};
  const auto& corners = kFaceTable[k];
  for (int y = 0; y < 256; ++y) {
    for (int x = 0; x < 256; ++x) {
      const float tu = (x + 0.5f) / 256;
      const float tv = (y + 0.5f) / 256;
      float position[3] = {0, 0, 0};
      for (const FaceCorner& c : corners) {
        const float weight = (c.tu == 1 ? tu : 1 - tu) * (c.tv == 1 ? tv : 1 - tv);
        position[0] += weight * c.x;
        position[1] += weight * c.y;
        position[2] += weight * c.z;
      }
      for (int i = 0; i < 3; ++i) {
        p.rgb[(y * 256 + x) * 3 + i] =
            static_cast<std::uint8_t>((position[i] + 10) / 20 * 255 + 0.5f);
      }
    }
  }
  return p;
}

TEST_F(SceneWin32Test, FacesJoinWithoutASeamWhereThreeMeet) {
  for (int k = 1; k <= 6; ++k) {
    ASSERT_TRUE(process.WriteWholeFile(folder + "\\Tolvenar" + std::to_string(k) + ".bmp",
                                       EncodeBmp24(PositionColoured(k - 1))));
  }
  Win32Graphics3D graphics(window.get());
  LinearRandomness randomness;
  Direct3DScene scene(graphics, randomness);
  scene.Drift().YawStep = 0.785398f;
  scene.Drift().PitchStep = 0.6f;
  ASSERT_TRUE(scene.Initialize(folder, [] { return true; }));
  scene.Render();
  TestWindow::PumpMessages();
  scene.Render();
  TestWindow::PumpMessages();
  const std::vector<std::uint32_t> pixels = WindowPixels();
  // Neighbouring pixels differ by a few steps at most; a face turned or mirrored against its
  // neighbours jumps by up to 255 at the edge.
  int largest = 0;
  int where = 0;
  for (int y = 0; y + 1 < kWindowSize; ++y) {
    for (int x = 0; x + 1 < kWindowSize; ++x) {
      const std::uint32_t a = pixels[y * kWindowSize + x];
      for (std::uint32_t b : {pixels[y * kWindowSize + x + 1], pixels[(y + 1) * kWindowSize + x]}) {
        for (int shift : {0, 8, 16}) {
          const int step =
              std::abs(static_cast<int>((a >> shift) & 255) - static_cast<int>((b >> shift) & 255));
          if (step > largest) {
            largest = step;
            where = y * kWindowSize + x;
          }
        }
      }
    }
  }
  EXPECT_LE(largest, 16) << "at pixel " << where % kWindowSize << "," << where / kWindowSize;
  scene.Release();
  for (int k = 1; k <= 6; ++k)
    DeleteFileA((folder + "\\Tolvenar" + std::to_string(k) + ".bmp").c_str());
}

TEST_F(SceneWin32Test, FactorySceneInitializesRendersAndReleasesWithOrWithoutAWarmUp) {
  for (int k = 1; k <= 6; ++k) {
    ASSERT_TRUE(process.WriteWholeFile(folder + "\\Tolvenar" + std::to_string(k) + ".bmp",
                                       EncodeBmp24(Gradient())));
  }
  for (const bool warm_up : {false, true}) {
    LinearRandomness randomness;
    std::unique_ptr<Scene> scene = CreateDirect3DScene(window.get(), randomness, warm_up);
    ASSERT_TRUE(scene->Initialize(folder, [] { return true; })) << warm_up;
    for (int frame = 0; frame < 3; ++frame) scene->Render();
    scene->Release();
  }
  for (int k = 1; k <= 6; ++k)
    DeleteFileA((folder + "\\Tolvenar" + std::to_string(k) + ".bmp").c_str());
}

TEST_F(SceneWin32Test, TheDeviceIsMadeWithTheWarmedUpObjectWhichIsHandedOverOnce) {
  DeviceWarmUp warm_up;
  Win32Graphics3D graphics(window.get(), &warm_up);
  ASSERT_TRUE(MakeDevice(graphics));
  EXPECT_FALSE(warm_up.TakeDirect3D());
  EXPECT_FALSE(warm_up.TakeDirect3DLibrary());
  // DirectInput's library was loaded while the warm-up was still making Direct3D.
  EXPECT_TRUE(graphics.CreateDirectInput());
  { DeviceWarmUp never_taken; }
}

TEST_F(SceneWin32Test, InitializeFailsWhenAFacePictureIsMissing) {
  LinearRandomness randomness;
  std::unique_ptr<Scene> scene = CreateDirect3DScene(window.get(), randomness);
  EXPECT_FALSE(scene->Initialize(folder + "\\nowhere", [] { return true; }));
  scene->Release();
}

}  // namespace
}  // namespace tolvenar::win32
