#pragma once
// Graphics3D on X11: the GL device (scene/gl/gl_device.h) drawing on a GLX surface.
#include "runtime/process.h"
#include "scene/gl/gl_device.h"
#include "scene/linux/glx_surface.h"

namespace tolvenar::linux_port {

// The surface lives in a base before the device's, so that it is made first and freed last.
struct GlxSurfaceHolder {
  GlxSurfaceHolder(Display* display, Window window) : surface(display, window) {}
  GlxSurface surface;
};

class GlGraphics3D final : private GlxSurfaceHolder, public gl::GlDevice {
 public:
  // Draws into `window` (the host's, or the program's own) on `display`; both outlive this object
  // or, for the window, may be destroyed by its owner first. With show_fps every presented frame
  // carries the frame rate in its lower-left corner.
  GlGraphics3D(Display* display, Window window, Process& process, bool show_fps = false)
      : GlxSurfaceHolder(display, window), GlDevice(surface, process, show_fps) {}

  // For tests: the window GL draws into (the target, or the child made for it); 0 without a
  // device.
  Window Drawable() const { return surface.Drawable(); }
};

}  // namespace tolvenar::linux_port
