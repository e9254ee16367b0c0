#pragma once
// The saver's scene on OpenGL over EGL, drawn on a Wayland canvas: one scene for every output.
#include <epoxy/egl.h>

#include <memory>

#include "runtime/process.h"
#include "runtime/randomness.h"
#include "scene/linux/saver_window_wayland.h"
#include "scene/scene.h"

namespace tolvenar::linux_port {

// EGL on the compositor's connection, initialized once for the run: checked before anything
// starts (without desktop OpenGL no scene can be drawn there) and kept, so that the scene's surface
// does not load the driver a second time; terminated here before the connection closes.
class WaylandEgl {
 public:
  explicit WaylandEgl(wl_display* display);
  WaylandEgl(const WaylandEgl&) = delete;
  WaylandEgl& operator=(const WaylandEgl&) = delete;
  ~WaylandEgl();

  bool OffersOpenGl() const { return offers_open_gl_; }

 private:
  EGLDisplay display_ = EGL_NO_DISPLAY;
  bool initialized_ = false;
  bool offers_open_gl_ = false;
};

// The face pictures are read through `process`. With show_fps each frame carries the frame rate
// in its lower-left corner.
std::unique_ptr<Scene> CreateEglScene(WaylandCanvas& canvas, Process& process,
                                      Randomness& randomness, bool show_fps = false);

}  // namespace tolvenar::linux_port
