// The benchmark's reference on Linux: the window the host names in XSCREENSAVER_WINDOW (else one
// of its own over the screen), a GLX context on the window's own visual, six 256 x 256 textures
// from the embedded face pictures, and a loop that clears, draws the six quads and swaps until
// SIGTERM (or, in its own window, a key or a button). Frames are counted like the saver's
// (TOLVENAR_BENCH_FILE).
#include <X11/Xlib.h>
#include <epoxy/gl.h>
#include <epoxy/glx.h>
#include <signal.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include "runtime/linux/embedded_data_linux.h"
#include "runtime/picture.h"
#include "scene/bench_statistics.h"
#include "scene/cube_faces.h"
#include "scene/d3dx_math.h"
#include "scene/direct3d_values.h"
#include "scene/emulation/gl_conventions.h"
#include "scene/gl/gl_device.h"
#include "scene/linux/glx_surface.h"
#include "scene/linux/x_display.h"
#include "scene/saver_window.h"
#include "scene/texels.h"

namespace {

using namespace tolvenar;
using namespace tolvenar::linux_port;
using tolvenar::gl::GlTextures;

using d3d8::kFilterNone;
using d3d8::kFilterPoint;

// The saver's projection: aspect 1, a very wide field of view.
Matrix4 Projection() {
  Matrix4 m;
  m.m[0][0] = m.m[1][1] = 0.30915f;
  m.m[2][2] = 1.0000001f;
  m.m[2][3] = 1;
  m.m[3][2] = -0.0010000001f;
  return m;
}

// The double-buffered configuration whose visual is the window's; nullopt when there is none.
std::optional<GLXFBConfig> ConfigFor(Display* display, int screen, VisualID visual) {
  const int wanted[] = {GLX_DRAWABLE_TYPE,
                        GLX_WINDOW_BIT,
                        GLX_RENDER_TYPE,
                        GLX_RGBA_BIT,
                        GLX_DOUBLEBUFFER,
                        True,
                        None};
  int count = 0;
  const XMemory<GLXFBConfig> configs(glXChooseFBConfig(display, screen, wanted, &count));
  for (int i = 0; configs && i < count; ++i) {
    int id = 0;
    glXGetFBConfigAttrib(display, configs.get()[i], GLX_VISUAL_ID, &id);
    if (static_cast<VisualID>(id) == visual) return configs.get()[i];
  }
  return std::nullopt;
}

bool TerminationPending(const sigset_t& signals) {
  sigset_t pending;
  sigpending(&pending);
  return sigismember(&pending, SIGTERM) || sigismember(&pending, SIGINT);
}

}  // namespace

int main() {
  BenchStatistics statistics;
  // Held back and polled once a frame, as the saver's loop looks at its signal pipe.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGINT);
  sigprocmask(SIG_BLOCK, &signals, nullptr);

  const XDisplay x;
  Display* display = x.get();
  if (!display) return 1;
  const int screen = DefaultScreen(display);
  UniqueWindow own_window;
  Window window = None;
  if (const char* host = std::getenv("XSCREENSAVER_WINDOW")) {
    window = static_cast<Window>(std::strtoul(host, nullptr, 0));
  } else {
    XSetWindowAttributes set{};
    set.event_mask = KeyPressMask | ButtonPressMask;
    own_window = UniqueWindow(
        display, XCreateWindow(display, RootWindow(display, screen), 0, 0,
                               static_cast<unsigned>(DisplayWidth(display, screen)),
                               static_cast<unsigned>(DisplayHeight(display, screen)), 0,
                               CopyFromParent, InputOutput, CopyFromParent, CWEventMask, &set));
    window = own_window.get();
    XMapRaised(display, window);
  }
  XWindowAttributes attributes{};
  if (window == None || !XGetWindowAttributes(display, window, &attributes)) return 1;
  const std::optional<GLXFBConfig> config =
      ConfigFor(display, screen, XVisualIDFromVisual(attributes.visual));
  if (!config) return 1;
  const GlContext context(display,
                          glXCreateNewContext(display, *config, GLX_RGBA_TYPE, nullptr, True));
  const GlxWindow drawable(display, glXCreateWindow(display, *config, window, nullptr));
  if (!context || !drawable ||
      !glXMakeContextCurrent(display, drawable.get(), drawable.get(), context.get())) {
    return 1;
  }
  std::printf("renderer: %s, OpenGL %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)),
              reinterpret_cast<const char*>(glGetString(GL_VERSION)));
  if (epoxy_has_glx_extension(display, screen, "GLX_EXT_swap_control")) {
    glXSwapIntervalEXT(display, drawable.get(), 0);
  }

  // Direct3D's conventions: clockwise front faces, no lighting, nearest sampling, no depth test.
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
  glFrontFace(GL_CW);
  glDisable(GL_DITHER);
  glEnable(GL_TEXTURE_2D);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glColor4f(1, 1, 1, 1);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glViewport(0, 0, attributes.width, attributes.height);
  const GlMatrixPair projection =
      GlProjection(Projection(), WholeDrawable(attributes.width, attributes.height));
  glMatrixMode(GL_PROJECTION);
  glLoadMatrixf(&projection.load.m[0][0]);
  glMultMatrixf(&projection.multiply.m[0][0]);
  glMatrixMode(GL_MODELVIEW);

  LinuxEmbeddedData embedded;
  GlTextures textures;
  GLuint names[kFaceCount] = {};
  for (int k = 0; k < kFaceCount; ++k) {
    const std::optional<Picture> picture = DecodePicture(embedded.Bytes(FacePictureName(k + 1)));
    if (!picture) return 1;
    const std::vector<std::uint32_t> texels =
        TopLevelTexels(*picture, 256, 256, k == 5 ? kFilterPoint : kFilterNone);
    names[k] = textures.Make();
    glBindTexture(GL_TEXTURE_2D, names[k]);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, 256, 256, 0, GL_BGRA, GL_UNSIGNED_BYTE, texels.data());
  }

  float angle = 0;
  int drift_frames = 0;
  bool running = true;
  while (running && !TerminationPending(signals)) {
    glClearColor(0xCC / 255.f, 0xCC / 255.f, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    angle += 0.0018f;
    // The saver's drift at mid-range steps, snapping back every 1001 frames.
    drift_frames = drift_frames >= 1000 ? 0 : drift_frames + 1;
    const float drift = static_cast<float>(drift_frames) * 0.005f;
    const GlMatrixPair model_view =
        GlModelView(D3DXMatrixRotationY(angle),
                    D3DXMatrixMultiply(D3DXMatrixRotationY(drift), D3DXMatrixRotationX(drift)));
    glLoadMatrixf(&model_view.load.m[0][0]);
    glMultMatrixf(&model_view.multiply.m[0][0]);
    for (int k = 0; k < kFaceCount; ++k) {
      glBindTexture(GL_TEXTURE_2D, names[k]);
      glVertexPointer(3, GL_FLOAT, sizeof(FaceCorner), &kFaceTable[k][0].x);
      glTexCoordPointer(2, GL_FLOAT, sizeof(FaceCorner), &kFaceTable[k][0].tu);
      glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    }
    glXSwapBuffers(display, drawable.get());
    // One wait for the server a frame, as the saver's loop makes one round trip a frame (it reads
    // the drawable's size): on llvmpipe under Xvfb a loop whose swaps queue up without waiting
    // measured slower, which would flatter the saver.
    XSync(display, False);
    statistics.FramePresented();
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == KeyPress || event.type == ButtonPress) running = false;
    }
  }
  statistics.Write();
  return 0;
}
