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
#include <utility>

#include "scene/bench_statistics.h"
#include "scene/gl/gl_surface.h"

namespace tolvenar::linux_port {

// A resource of an X display, freed by Free{}(display, handle) with the object.
template <class Handle, class Free>
class DisplayResource {
 public:
  DisplayResource() = default;
  DisplayResource(Display* display, Handle handle) : display_(display), handle_(handle) {}
  DisplayResource(const DisplayResource&) = delete;
  DisplayResource& operator=(const DisplayResource&) = delete;
  DisplayResource(DisplayResource&& o) noexcept { *this = std::move(o); }
  DisplayResource& operator=(DisplayResource&& o) noexcept {
    if (this != &o) {
      reset();
      display_ = o.display_;
      handle_ = std::exchange(o.handle_, Handle{});
    }
    return *this;
  }
  ~DisplayResource() { reset(); }
  void reset() {
    if (handle_ != Handle{}) Free{}(display_, handle_);
    handle_ = Handle{};
  }
  explicit operator bool() const { return handle_ != Handle{}; }
  Handle get() const { return handle_; }

 private:
  Display* display_ = nullptr;
  Handle handle_{};
};

struct DestroyWindow {
  void operator()(Display* display, Window window) const { XDestroyWindow(display, window); }
};
struct FreeColormap {
  void operator()(Display* display, Colormap colormap) const { XFreeColormap(display, colormap); }
};
struct DestroyGlxWindow {
  void operator()(Display* display, GLXWindow window) const { glXDestroyWindow(display, window); }
};
// Made not current first when it is.
struct DestroyContext {
  void operator()(Display* display, GLXContext context) const;
};
using UniqueWindow = DisplayResource<Window, DestroyWindow>;
using UniqueColormap = DisplayResource<Colormap, FreeColormap>;
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
