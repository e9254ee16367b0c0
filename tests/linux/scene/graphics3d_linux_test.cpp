// The scene on GL over GLX under the test display: the Windows build's frame, texture rows, back
// faces, the clear colour, host windows of 24 and 32 bits, resizes, a window that goes away and
// the overlay's font rasterised for surfaces without one.
// GoogleTest before the X headers, whose None and Bool macros it would otherwise trip over.
#include <gtest/gtest.h>

#include "scene/linux/graphics3d_linux.h"

#include <X11/Xutil.h>
#include <poll.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <map>
#include <string>
#include <vector>

#include "fakes/fake_runtime.h"
#include "fakes/file_bytes.h"
#include "runtime/randomness.h"
#include "runtime/linux/embedded_data_linux.h"
#include "runtime/picture.h"
#include "scene/cube_faces.h"
#include "scene/direct3d_scene.h"
#include "scene/linux/direct3d_scene_linux.h"
#include "scene/linux/raster_font_lists.h"
#include "scene/linux/x_display.h"
#include "scene/reference_frame.h"

namespace tolvenar::linux_port {
namespace {

using testing::kReferenceHeight;
using testing::kReferenceWidth;

constexpr char kFolder[] = "faces";
constexpr std::uint32_t kClearColour = 0xCCCCFF;

int x_errors = 0;
int RecordXError(Display*, XErrorEvent*) {
  ++x_errors;
  return 0;
}

// The visuals a host may give its window.
enum class HostVisual {
  kDefault,       // the screen's 24-bit visual
  kArgb,          // a 32-bit ARGB visual that GL can draw into directly
  kArgbWithoutGl  // a 32-bit ARGB visual with no double-buffered GL configuration
};

XVisualInfo FindVisual(Display* display, HostVisual kind) {
  const int screen = DefaultScreen(display);
  XVisualInfo found{};
  if (kind == HostVisual::kDefault) {
    XMatchVisualInfo(display, screen, DefaultDepth(display, screen), TrueColor, &found);
    return found;
  }
  int count = 0;
  GLXFBConfig* configs = glXGetFBConfigs(display, screen, &count);
  std::map<VisualID, bool> double_buffered;  // by visual: some configuration is
  for (int i = 0; i < count; ++i) {
    int id = 0;
    int doubled = 0;
    glXGetFBConfigAttrib(display, configs[i], GLX_VISUAL_ID, &id);
    glXGetFBConfigAttrib(display, configs[i], GLX_DOUBLEBUFFER, &doubled);
    double_buffered[static_cast<VisualID>(id)] |= doubled != 0;
  }
  XFree(configs);
  for (const auto& [id, doubled] : double_buffered) {
    XVisualInfo wanted{};
    wanted.visualid = id;
    XVisualInfo* visual = XGetVisualInfo(display, VisualIDMask, &wanted, &count);
    if (visual && visual->depth == 32 && doubled == (kind == HostVisual::kArgb)) found = *visual;
    XFree(visual);
    if (found.visual) break;
  }
  return found;
}

// A mapped top-level window at (x, 0).
class HostWindow {
 public:
  HostWindow(Display* display, HostVisual kind, int x, int width, int height) : display_(display) {
    const XVisualInfo visual = FindVisual(display, kind);
    EXPECT_NE(visual.visual, nullptr);
    XSetWindowAttributes set{};
    set.colormap = XCreateColormap(display, DefaultRootWindow(display), visual.visual, AllocNone);
    set.border_pixel = 0;
    set.event_mask = StructureNotifyMask;
    window_ =
        XCreateWindow(display, DefaultRootWindow(display), x, 0, width, height, 0, visual.depth,
                      InputOutput, visual.visual, CWColormap | CWBorderPixel | CWEventMask, &set);
    colormap_ = set.colormap;
    XMapWindow(display, window_);
    WaitFor(MapNotify);
  }
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;
  ~HostWindow() {
    if (window_) XDestroyWindow(display_, window_);
    XFreeColormap(display_, colormap_);
    XSync(display_, False);
  }
  Window get() const { return window_; }
  void Resize(int width, int height) {
    XResizeWindow(display_, window_, width, height);
    XSync(display_, False);
  }
  void Destroy() {
    XDestroyWindow(display_, window_);
    XSync(display_, False);
    window_ = 0;
  }

 private:
  void WaitFor(int type) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    XEvent event;
    while (std::chrono::steady_clock::now() < end) {
      if (XCheckTypedWindowEvent(display_, window_, type, &event)) return;
      pollfd fd{ConnectionNumber(display_), POLLIN, 0};
      poll(&fd, 1, 50);
    }
    ADD_FAILURE() << "no event " << type;
  }

  Display* display_;
  Window window_ = 0;
  Colormap colormap_ = 0;
};

// What the window GL draws into shows, rows top to bottom, 0xRRGGBB each. (Mesa's software GLX
// reads the front buffer as zeros, so the window is read as the server holds it.)
std::vector<std::uint32_t> ReadFrame(const GlGraphics3D& graphics, int width, int height) {
  glFinish();
  std::vector<std::uint32_t> pixels;
  XImage* image = XGetImage(glXGetCurrentDisplay(), graphics.Drawable(), 0, 0, width, height,
                            AllPlanes, ZPixmap);
  if (!image) return pixels;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) pixels.push_back(XGetPixel(image, x, y) & 0xFFFFFF);
  }
  XDestroyImage(image);
  return pixels;
}

std::vector<std::uint32_t> Rgb(const Picture& picture) {
  std::vector<std::uint32_t> pixels;
  for (std::size_t i = 0; i < picture.rgb.size(); i += 3) {
    pixels.push_back(std::uint32_t{picture.rgb[i]} << 16 | std::uint32_t{picture.rgb[i + 1]} << 8 |
                     picture.rgb[i + 2]);
  }
  return pixels;
}

std::vector<std::uint32_t> ReferenceFrame() {
  const std::optional<Picture> picture = DecodePicture(testing::Get(TOLVENAR_REFERENCE_FRAME));
  return picture ? Rgb(*picture) : std::vector<std::uint32_t>{};
}

class GlSceneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(display) << "no X display";
    XSetErrorHandler(RecordXError);
    x_errors = 0;
    LinuxEmbeddedData embedded;
    for (int k = 1; k <= kFaceCount; ++k) {
      const std::optional<Picture> face = DecodePicture(embedded.Bytes("FACE" + std::to_string(k)));
      ASSERT_TRUE(face);
      process.files[FacePictureFile(kFolder, k)] = EncodeBmp24(*face);
    }
  }

  // The reference frame drawn into `window` by the real scene on a GL device of its own.
  std::vector<std::uint32_t> RenderReferenceFrame(Window window, int width, int height) {
    GlGraphics3D graphics(display.get(), window, process);
    LinearRandomness randomness;
    Direct3DScene scene(graphics, randomness);
    EXPECT_TRUE(scene.Initialize(kFolder, [] { return true; }));
    testing::SetReferenceFrame(scene);
    scene.Render();
    std::vector<std::uint32_t> pixels = ReadFrame(graphics, width, height);
    scene.Release();
    return pixels;
  }

  UniqueDisplay display{OpenDisplay()};
  testing::CallLog log;
  testing::FakeProcess process{log};
};

int Differing(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
  if (a.size() != b.size()) return static_cast<int>(std::max(a.size(), b.size()));
  int n = 0;
  for (std::size_t i = 0; i < a.size(); ++i) n += a[i] != b[i];
  return n;
}

TEST_F(GlSceneTest, HostWindowsShowTheWindowsBuildsFrameAndFollowResizes) {
  const std::vector<std::uint32_t> reference = ReferenceFrame();
  ASSERT_EQ(reference.size(), std::size_t{kReferenceWidth * kReferenceHeight});
  const struct {
    const char* name;
    HostVisual visual;
  } rows[] = {{"24-bit window", HostVisual::kDefault},
              {"32-bit ARGB window", HostVisual::kArgb},
              {"32-bit ARGB window without GL: a child window", HostVisual::kArgbWithoutGl}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    HostWindow window(display.get(), row.visual, 0, kReferenceWidth, kReferenceHeight);
    const std::vector<std::uint32_t> frame =
        RenderReferenceFrame(window.get(), kReferenceWidth, kReferenceHeight);
    EXPECT_LE(Differing(frame, reference), kReferenceWidth * kReferenceHeight / 1000);

    // After a resize the frame fills the new size as in a window made at that size.
    HostWindow fresh(display.get(), row.visual, 400, 200, 150);
    const std::vector<std::uint32_t> expected = RenderReferenceFrame(fresh.get(), 200, 150);
    GlGraphics3D graphics(display.get(), window.get(), process);
    LinearRandomness randomness;
    Direct3DScene scene(graphics, randomness);
    ASSERT_TRUE(scene.Initialize(kFolder, [] { return true; }));
    scene.Render();
    window.Resize(200, 150);
    testing::SetReferenceFrame(scene);
    scene.Render();
    EXPECT_EQ(Differing(ReadFrame(graphics, 200, 150), expected), 0);
    EXPECT_EQ(graphics.Drawable() != window.get(), row.visual == HostVisual::kArgbWithoutGl);
    scene.Release();
  }
  EXPECT_EQ(x_errors, 0);
}

bool MakeDevice(GlGraphics3D& graphics) {
  std::uint32_t format = 0;
  return graphics.CreateRoot() && graphics.CreateDirect3D() &&
         graphics.GetAdapterDisplayModeFormat(0, format) &&
         graphics.CreateDevice(0, 1, 0x20, PresentParameters{true, 4, format}) &&
         graphics.SetVertexShader(kFaceVertexFormat) && graphics.SetRenderState(137, 0);
}

// A device of its own on a 64 x 64 window.
class GlDeviceTest : public GlSceneTest {
 protected:
  void SetUp() override {
    GlSceneTest::SetUp();
    ASSERT_TRUE(MakeDevice(graphics));
  }

  // A strip in the given corner order, textured with `picture`, drawn over the clear colour. With
  // identity transforms its edges lie on the target's pixel edges in Direct3D's terms (half a pixel
  // before the first centre), so each pixel centre samples its texel's centre.
  std::vector<std::uint32_t> DrawQuad(const Picture& picture, bool clockwise) {
    const float l = -1 - 1 / 64.f, r = 1 - 1 / 64.f, t = 1 + 1 / 64.f, b = -1 + 1 / 64.f;
    std::array<FaceVertex, 4> strip = {
        MakeVertex(l, t, 0.5f, 0xFFFFFFFF, 0, 0), MakeVertex(r, t, 0.5f, 0xFFFFFFFF, 1, 0),
        MakeVertex(l, b, 0.5f, 0xFFFFFFFF, 0, 1), MakeVertex(r, b, 0.5f, 0xFFFFFFFF, 1, 1)};
    if (!clockwise) std::swap(strip[1], strip[2]);
    process.files["quad.bmp"] = EncodeBmp24(picture);
    Texture3D texture = Texture3D::kNone;
    VertexBuffer3D buffer = VertexBuffer3D::kNone;
    EXPECT_TRUE(
        graphics.CreateTextureFromFile("quad.bmp", {64, 64, 0, 0, 21, 1, 1, 1, 0}, texture));
    EXPECT_TRUE(graphics.CreateVertexBuffer(sizeof strip, 0, kFaceVertexFormat, 1, buffer));
    EXPECT_TRUE(graphics.SetVertexBufferData(buffer, 0, sizeof strip, 0, strip.data()));
    EXPECT_TRUE(graphics.Clear(1, kClearColour, 1, 0) && graphics.BeginScene() &&
                graphics.SetTexture(0, texture) &&
                graphics.SetStreamSource(0, buffer, sizeof(FaceVertex)) &&
                graphics.DrawPrimitive(5, 0, 2) && graphics.EndScene() && graphics.Present());
    return ReadFrame(graphics, 64, 64);
  }

  HostWindow window{display.get(), HostVisual::kDefault, 0, 64, 64};
  GlGraphics3D graphics{display.get(), window.get(), process};
};

TEST_F(GlDeviceTest, TextureRowsComeTopFirstAndBackFacesStayHidden) {
  // Quarters red (top-left), green (top-right), blue (bottom-left) and white.
  Picture quarters{64, 64, std::vector<std::uint8_t>(64 * 64 * 3)};
  for (int i = 0; i < 64 * 64; ++i) {
    const bool right = i % 64 >= 32;
    const bool bottom = i / 64 >= 32;
    quarters.rgb[i * 3] = !bottom ? (right ? 0 : 255) : (right ? 255 : 0);
    quarters.rgb[i * 3 + 1] = right ? 255 : 0;
    quarters.rgb[i * 3 + 2] = bottom ? 255 : 0;
  }
  // Each screen pixel shows exactly its texel: nearest sampling, centres aligned.
  EXPECT_EQ(Differing(DrawQuad(quarters, true), Rgb(quarters)), 0);
  EXPECT_EQ(Differing(DrawQuad(quarters, false), std::vector<std::uint32_t>(64 * 64, kClearColour)),
            0)
      << "counter-clockwise on screen: culled";
}

TEST_F(GlDeviceTest, ClearFillsOnlyTheViewportWithTheExactColour) {
  ASSERT_TRUE(graphics.Clear(1, 0x00CCCCFF, 1, 0));
  ASSERT_TRUE(graphics.SetViewport({8, 4, 16, 10, 0, 1}));
  ASSERT_TRUE(graphics.Clear(1, 0x00123456, 1, 0));
  EXPECT_FALSE(graphics.Clear(3, 0, 1, 0)) << "no depth buffer";
  ASSERT_TRUE(graphics.Present());
  std::vector<std::uint32_t> expected(64 * 64, kClearColour);
  for (int y = 4; y < 14; ++y) std::fill_n(&expected[y * 64 + 8], 16, 0x123456);
  EXPECT_EQ(Differing(ReadFrame(graphics, 64, 64), expected), 0);
}

TEST_F(GlDeviceTest, FrameRateOverlayDrawsInTheLowerLeftCorner) {
  graphics.ReleaseDevice();
  GlGraphics3D fps(display.get(), window.get(), process, true);
  ASSERT_TRUE(MakeDevice(fps));
  ASSERT_TRUE(fps.Clear(1, kClearColour, 1, 0) && fps.Present());
  const std::vector<std::uint32_t> pixels = ReadFrame(fps, 64, 64);
  const auto text = [&](int from, int to) {
    return std::count_if(&pixels[from * 64], &pixels[to * 64],
                         [](std::uint32_t p) { return p != kClearColour; });
  };
  EXPECT_GT(text(32, 64), 20);
  EXPECT_EQ(text(0, 32), 0);
  // The text is as wide as the font sets it, the blank after "FPS:" included.
  int first = 64, last = -1;
  for (int y = 32; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      if (pixels[y * 64 + x] == kClearColour) continue;
      first = std::min(first, x);
      last = std::max(last, x);
    }
  }
  XFontStruct* font = XLoadQueryFont(display.get(), "fixed");
  ASSERT_NE(font, nullptr);
  const int width = XTextWidth(font, "FPS: 0.0", 8);
  XFreeFont(display.get(), font);
  EXPECT_GE(last - first + 1, width - 1);
}

// The font made without the window system's, as an EGL surface makes it: "60.0 fps" drawn with
// its lists in the device's context, one advance per character, the blank's included.
TEST_F(GlDeviceTest, RasterFontListsDrawDistinctGlyphsOneAdvanceApart) {
  const std::optional<gl::FontLists> lists = MakeRasterFontLists(32, 96);
  ASSERT_TRUE(lists);
  const int advance = lists->blank_advance;
  ASSERT_TRUE(advance >= 5 && advance <= 7) << advance;  // eight fit the window
  EXPECT_TRUE(lists->descent >= 1 && lists->descent <= 4) << lists->descent;
  ASSERT_TRUE(graphics.Clear(1, kClearColour, 1, 0));
  glViewport(0, 0, 64, 64);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, 64, 0, 64, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_TEXTURE_2D);
  glColor3f(0, 0, 0);
  glRasterPos2i(0, 32);  // the baseline: rows 32 to 63 of the frame read (top first) lie under it
  glListBase(lists->base - 32);
  const std::string text = "60.0 fps";
  glCallLists(static_cast<GLsizei>(text.size()), GL_UNSIGNED_BYTE, text.data());
  ASSERT_TRUE(graphics.Present());
  glDeleteLists(lists->base, 96);
  const std::vector<std::uint32_t> pixels = ReadFrame(graphics, 64, 64);

  // Character k's cell, above the baseline or below it, as ink (1) or not.
  const auto cell = [&](int k, bool below) {
    std::vector<int> ink;
    for (int y = below ? 32 : 0; y < (below ? 64 : 32); ++y) {
      for (int x = k * advance; x < (k + 1) * advance; ++x) {
        ink.push_back(pixels[y * 64 + x] != kClearColour);
      }
    }
    return ink;
  };
  const auto inked = [](const std::vector<int>& ink) {
    return std::count(ink.begin(), ink.end(), 1);
  };
  const std::vector<int> six = cell(0, false);
  EXPECT_GE(inked(six), 10);
  EXPECT_GT(std::count(six.end() - advance, six.end(), 1), 0) << "6 stands on the baseline";
  EXPECT_NE(six, cell(1, false)) << "6 and 0";
  EXPECT_EQ(cell(1, false), cell(3, false)) << "both 0s";
  EXPECT_EQ(inked(cell(4, false)), 0) << "the blank";
  for (int k = 0; k < 6; ++k) EXPECT_EQ(inked(cell(k, true)), 0) << text[k] << " has no descender";
  EXPECT_GT(inked(cell(6, true)), 0) << "p's descender";
  EXPECT_EQ(inked(cell(8, false)) + inked(cell(8, true)), 0) << "nothing after the text";
}

// A surface that is not GLX's own, as another window system's would be: it forwards to GLX and
// records what the device asks of it, and can report the window gone.
class RecordingSurface final : public gl::GlSurface {
 public:
  RecordingSurface(Display* display, Window window) : glx_(display, window) {}
  bool Available() override { return Call("Available", glx_.Available()); }
  bool VersionSupported() override { return Call("VersionSupported", glx_.VersionSupported()); }
  bool MakeContext() override { return Call("MakeContext", glx_.MakeContext()); }
  void ReleaseContext() override {
    Call("ReleaseContext", true);
    glx_.ReleaseContext();
  }
  std::optional<gl::SurfaceSize> Size() override {
    Call("Size", true);
    return gone ? std::nullopt : glx_.Size();
  }
  void Present() override {
    Call("Present", true);
    glx_.Present();
  }
  std::optional<gl::FontLists> MakeFont(int first, int count) override {
    Call("MakeFont", true);
    return glx_.MakeFont(first, count);
  }

  std::vector<std::string> calls;
  bool gone = false;

 private:
  bool Call(const char* name, bool result) {
    calls.emplace_back(name);
    return result;
  }
  GlxSurface glx_;
};

TEST_F(GlSceneTest, TheDeviceAsksItsSurfaceForTheSizeOncePerFrameAndNothingOnceTheWindowIsGone) {
  HostWindow window(display.get(), HostVisual::kDefault, 0, 64, 64);
  RecordingSurface surface(display.get(), window.get());
  {
    gl::GlDevice device(surface, process, true);
    std::uint32_t format = 0;
    ASSERT_TRUE(device.CreateRoot() && device.CreateDirect3D() &&
                device.GetAdapterDisplayModeFormat(0, format) &&
                device.CreateDevice(0, 1, 0x20, PresentParameters{true, 4, format}));
    for (int frame = 0; frame < 2; ++frame) {
      EXPECT_TRUE(device.Clear(1, kClearColour, 1, 0) && device.Present());
    }
    surface.gone = true;
    EXPECT_FALSE(device.Clear(1, kClearColour, 1, 0));
    EXPECT_FALSE(device.BeginScene() || device.Present());
    device.ReleaseDevice();
    // The font is made once, at the first frame that shows the frame rate.
    EXPECT_EQ(surface.calls, (std::vector<std::string>{
                                 "Available", "VersionSupported", "MakeContext", "Size", "MakeFont",
                                 "Present", "Size", "Present", "Size", "ReleaseContext"}));
  }
  EXPECT_EQ(surface.calls.back(), "ReleaseContext") << "the device releases as it goes";
}

TEST_F(GlSceneTest, AWindowThatGoesAwayFailsTheFrameAndStillReleases) {
  HostWindow window(display.get(), HostVisual::kArgbWithoutGl, 0, 64, 64);
  LinearRandomness randomness;
  std::unique_ptr<Scene> scene = CreateGlScene(display.get(), window.get(), process, randomness);
  ASSERT_TRUE(scene->Initialize(kFolder, [] { return true; }));
  scene->Render();
  window.Destroy();
  scene->Render();
  scene->Render();
  scene->Release();
  XSync(display.get(), False);
  EXPECT_GT(x_errors, 0) << "recorded, not fatal";
}

}  // namespace
}  // namespace tolvenar::linux_port
