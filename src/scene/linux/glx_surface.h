#pragma once
// The GL device's surface on X11: a GLX context drawing into a window (the host's, or a child of
// it made for a visual GL can use), and the X owners it holds.
//
// X errors are reported through the Display's error handler; its owner must install one that
// records instead of ending the process, since the target window may go away at any moment (a
// host's preview). After that, Size says the window is gone.
#include <epoxy/gl.h>
#include <epoxy/glx.h>

#include <optional>
#include "runtime/linux/owners_x11.h"
#include "scene/bench_statistics.h"
#include "scene/gl/gl_surface.h"

namespace tolvenar::linux_port {

struct DestroyGlxWindow {
  void operator()(Display* display, GLXWindow window) const { glXDestroyWindow(display, window); }
};
// Made not current first when it is.
struct DestroyContext {
  void operator()(Display* display, GLXContext context) const;
};
// The GLX drawable of an X window, for a context made from a GLXFBConfig.
using GlxWindow = DisplayResource<GLXWindow, DestroyGlxWindow>;
using GlContext = DisplayResource<GLXContext, DestroyContext>;

class GlxSurface final : public gl::GlSurface {
 public:
  // Draws into `window` on `display`; both outlive this object or, for the window, may be
  // destroyed by its owner first.
  GlxSurface(Display* display, Window window) : display_(display), target_(window) {}
  GlxSurface(const GlxSurface&) = delete;
  GlxSurface& operator=(const GlxSurface&) = delete;
  ~GlxSurface() override { ReleaseContext(); }

  bool Available() override;
  bool VersionSupported() override;
  bool MakeContext() override;
  void ReleaseContext() override;
  std::optional<gl::SurfaceSize> Size() override;
  void Present() override;
  std::optional<gl::FontLists> MakeFont(int first, int count) override;

  // The window GL draws into (the target, or the child made for it); 0 without a context.
  Window Drawable() const { return drawable_; }

 private:
  Display* display_;
  Window target_;
  // The child window and its colormap outlive the context drawing into them.
  UniqueColormap colormap_;
  UniqueWindow child_;
  Window drawable_ = 0;
  GlxWindow glx_window_;
  GlContext context_;
  int width_ = 0;  // the target's, as last read
  int height_ = 0;
  BenchStatistics statistics_;
};

}  // namespace tolvenar::linux_port
