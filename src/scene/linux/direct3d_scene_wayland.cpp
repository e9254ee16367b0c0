#include "scene/linux/direct3d_scene_wayland.h"

#include "scene/direct3d_scene.h"
#include "scene/gl/gl_device.h"
#include "scene/linux/egl_surface.h"

namespace tolvenar::linux_port {

namespace {

// The surface lives in a base before the device's, so that it is made first and freed last.
struct EglSurfaceHolder {
  explicit EglSurfaceHolder(WaylandCanvas& canvas) : surface(canvas) {}
  EglSurface surface;
};

class EglGraphics3D final : private EglSurfaceHolder, public gl::GlDevice {
 public:
  EglGraphics3D(WaylandCanvas& canvas, Process& process, bool show_fps)
      : EglSurfaceHolder(canvas), GlDevice(surface, process, show_fps) {}
};

// The scene together with the device it draws with; the device goes last.
class EglScene final : public ForwardingScene {
 public:
  EglScene(WaylandCanvas& canvas, Process& process, Randomness& randomness, bool show_fps)
      : ForwardingScene(scene_),
        graphics_(canvas, process, show_fps),
        scene_(graphics_, randomness) {}

 private:
  EglGraphics3D graphics_;
  Direct3DScene scene_;
};

}  // namespace

WaylandEgl::WaylandEgl(wl_display* display) : display_(WaylandEglDisplay(display)) {
  EGLint major = 0;
  EGLint minor = 0;
  initialized_ = display_ != EGL_NO_DISPLAY && eglInitialize(display_, &major, &minor) == EGL_TRUE;
  offers_open_gl_ = initialized_ && eglBindAPI(EGL_OPENGL_API) == EGL_TRUE;
}

WaylandEgl::~WaylandEgl() {
  if (initialized_) eglTerminate(display_);
}

std::unique_ptr<Scene> CreateEglScene(WaylandCanvas& canvas, Process& process,
                                      Randomness& randomness, bool show_fps) {
  return std::make_unique<EglScene>(canvas, process, randomness, show_fps);
}

}  // namespace tolvenar::linux_port
