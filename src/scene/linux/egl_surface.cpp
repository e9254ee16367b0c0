#include "scene/linux/egl_surface.h"

#include <algorithm>
#include <vector>

#include "scene/linux/raster_font_lists.h"

namespace tolvenar::linux_port {

EGLDisplay WaylandEglDisplay(wl_display* display) {
  // Asked by the client extension: the display-less version check of the core call's dispatch
  // cannot tell EGL 1.5 before a display exists.
  if (epoxy_has_egl_extension(EGL_NO_DISPLAY, "EGL_EXT_platform_wayland")) {
    return eglGetPlatformDisplayEXT(EGL_PLATFORM_WAYLAND_EXT, display, nullptr);
  }
  return eglGetDisplay(reinterpret_cast<EGLNativeDisplayType>(display));
}

EglSurface::EglSurface(WaylandCanvas& canvas) : canvas_(canvas) {
  canvas_.OnSurfaceGone([this](std::uint32_t id) { DropWindow(id); });
}

EglSurface::~EglSurface() {
  ReleaseContext();
  canvas_.OnSurfaceGone(nullptr);
}

bool EglSurface::Available() {
  if (initialized_) return true;
  display_ = WaylandEglDisplay(canvas_.display());
  if (display_ == EGL_NO_DISPLAY) return false;
  // The run's EGL (WaylandEgl) has initialized the display already, and terminates it: this is
  // only a check.
  EGLint major = 0;
  EGLint minor = 0;
  initialized_ = eglInitialize(display_, &major, &minor) == EGL_TRUE;
  return initialized_;
}

bool EglSurface::VersionSupported() {
  // Desktop GL, which the device's fixed-function calls need, not GL ES.
  return initialized_ && eglBindAPI(EGL_OPENGL_API) == EGL_TRUE;
}

bool EglSurface::MakeContext() {
  const EGLint wanted[] = {EGL_SURFACE_TYPE,
                           EGL_WINDOW_BIT,
                           EGL_RENDERABLE_TYPE,
                           EGL_OPENGL_BIT,
                           EGL_RED_SIZE,
                           8,
                           EGL_GREEN_SIZE,
                           8,
                           EGL_BLUE_SIZE,
                           8,
                           EGL_NONE};
  // The list comes deepest colour first: Mesa offers 10-bit channels (XRGB2101010 buffers) before
  // 8-bit ones, and a compositor that cannot show them (weston's pixman renderer) shows black.
  EGLint count = 0;
  if (!eglChooseConfig(display_, wanted, nullptr, 0, &count) || count < 1) return false;
  std::vector<EGLConfig> configs(static_cast<std::size_t>(count));
  if (!eglChooseConfig(display_, wanted, configs.data(), count, &count) || count < 1) return false;
  configs.resize(static_cast<std::size_t>(count));
  const auto channel = [this](EGLConfig config, EGLint attribute) {
    EGLint value = 0;
    return eglGetConfigAttrib(display_, config, attribute, &value) == EGL_TRUE ? value : -1;
  };
  const auto eight_bits = std::find_if(configs.begin(), configs.end(), [&](EGLConfig config) {
    return channel(config, EGL_RED_SIZE) == 8 && channel(config, EGL_GREEN_SIZE) == 8 &&
           channel(config, EGL_BLUE_SIZE) == 8;
  });
  config_ = eight_bits != configs.end() ? *eight_bits : configs.front();
  // The API is the thread's: bound again here, where the context is made.
  if (eglBindAPI(EGL_OPENGL_API) != EGL_TRUE) return false;
  context_ = eglCreateContext(display_, config_, EGL_NO_CONTEXT, nullptr);
  if (context_ == EGL_NO_CONTEXT || !MakeCurrentWithoutWindow()) {
    ReleaseContext();
    return false;
  }
  const std::optional<gl::SurfaceSize> size = Size();
  if (!size || frame_buffer_ == 0) {
    ReleaseContext();
    return false;
  }
  return true;
}

bool EglSurface::MakeCurrentWithoutWindow() {
  if (epoxy_has_egl_extension(display_, "EGL_KHR_surfaceless_context")) {
    return eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, context_) == EGL_TRUE;
  }
  if (stand_in_ == EGL_NO_SURFACE) {
    const EGLint size[] = {EGL_WIDTH, 1, EGL_HEIGHT, 1, EGL_NONE};
    stand_in_ = eglCreatePbufferSurface(display_, config_, size);
    if (stand_in_ == EGL_NO_SURFACE) return false;
  }
  return eglMakeCurrent(display_, stand_in_, stand_in_, context_) == EGL_TRUE;
}

void EglSurface::ReleaseContext() {
  statistics_.Write();
  if (context_ != EGL_NO_CONTEXT && MakeCurrentWithoutWindow()) {
    if (frame_buffer_ != 0) glDeleteFramebuffers(1, &frame_buffer_);
    if (colour_ != 0) glDeleteRenderbuffers(1, &colour_);
    if (depth_ != 0) glDeleteRenderbuffers(1, &depth_);
  }
  frame_buffer_ = colour_ = depth_ = 0;
  width_ = height_ = 0;
  straight_.reset();
  if (display_ != EGL_NO_DISPLAY) {
    eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    for (const auto& [id, window] : windows_) eglDestroySurface(display_, window);
    if (stand_in_ != EGL_NO_SURFACE) eglDestroySurface(display_, stand_in_);
    if (context_ != EGL_NO_CONTEXT) eglDestroyContext(display_, context_);
  }
  windows_.clear();
  stand_in_ = EGL_NO_SURFACE;
  context_ = EGL_NO_CONTEXT;
}

void EglSurface::DropWindow(std::uint32_t id) {
  const auto found = windows_.find(id);
  if (found == windows_.end()) return;
  if (eglGetCurrentSurface(EGL_DRAW) == found->second) DrawIntoCanvas();
  eglDestroySurface(display_, found->second);
  windows_.erase(found);
}

std::optional<gl::SurfaceSize> EglSurface::Size() {
  const std::optional<PixelPoint> size = canvas_.CanvasSize();
  if (!size || context_ == EGL_NO_CONTEXT) return std::nullopt;
  if (size->x != width_ || size->y != height_ || frame_buffer_ == 0) SizeCanvas(size->x, size->y);
  if (frame_buffer_ == 0) return std::nullopt;
  return gl::SurfaceSize{width_, height_};
}

void EglSurface::SizeCanvas(int width, int height) {
  if (frame_buffer_ == 0) {
    glGenFramebuffers(1, &frame_buffer_);
    glGenRenderbuffers(1, &colour_);
    glGenRenderbuffers(1, &depth_);
  }
  glBindRenderbuffer(GL_RENDERBUFFER, colour_);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
  glBindRenderbuffer(GL_RENDERBUFFER, depth_);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
  glBindFramebuffer(GL_FRAMEBUFFER, frame_buffer_);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depth_);
  const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
  // A frame drawn straight into a window goes on there.
  if (straight_) glBindFramebuffer(GL_FRAMEBUFFER, 0);
  if (!complete) {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &frame_buffer_);
    glDeleteRenderbuffers(1, &colour_);
    glDeleteRenderbuffers(1, &depth_);
    frame_buffer_ = colour_ = depth_ = 0;
    return;
  }
  width_ = width;
  height_ = height;
}

std::optional<EGLSurface> EglSurface::WindowOf(const WaylandCanvas::Shown& output) {
  const auto found = windows_.find(output.id);
  if (found != windows_.end()) return found->second;
  const EGLSurface made = eglCreateWindowSurface(
      display_, config_, reinterpret_cast<EGLNativeWindowType>(output.window), nullptr);
  if (made == EGL_NO_SURFACE) return std::nullopt;
  windows_.emplace(output.id, made);
  // Frames are paced by the saver's own limit: a swap never waits for an output that is not
  // showing the surface (covered, or switched off).
  if (eglMakeCurrent(display_, made, made, context_) == EGL_TRUE) eglSwapInterval(display_, 0);
  return made;
}

void EglSurface::Present() {
  if (frame_buffer_ == 0) return;
  const std::vector<WaylandCanvas::Shown> shown = canvas_.ShownOutputs();
  for (const WaylandCanvas::Shown& output : shown) {
    const std::optional<EGLSurface> window = WindowOf(output);
    if (!window) continue;
    if (straight_) {
      // The frame is in that window already; one that came meanwhile waits for the next.
      if (*straight_ == output.id) eglSwapBuffers(display_, *window);
      continue;
    }
    if (eglMakeCurrent(display_, *window, *window, context_) != EGL_TRUE) continue;
    // The canvas's rows run from the top, GL's from the bottom.
    const PixelRect& part = output.part.picture;
    const bool same_size =
        part.right - part.left == output.part.width && part.bottom - part.top == output.part.height;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, frame_buffer_);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glDisable(GL_SCISSOR_TEST);
    glBlitFramebuffer(part.left, height_ - part.bottom, part.right, height_ - part.top, 0, 0,
                      output.part.width, output.part.height, GL_COLOR_BUFFER_BIT,
                      same_size ? GL_NEAREST : GL_LINEAR);
    glEnable(GL_SCISSOR_TEST);
    eglSwapBuffers(display_, *window);
  }
  ChooseNextTarget(shown);
  statistics_.FramePresented();
}

void EglSurface::ChooseNextTarget(const std::vector<WaylandCanvas::Shown>& shown) {
  std::vector<ShownPart> parts;
  parts.reserve(shown.size());
  for (const WaylandCanvas::Shown& output : shown) parts.push_back(output.part);
  if (DrawsStraightIntoWindow(parts, {width_, height_})) {
    const std::optional<EGLSurface> window = WindowOf(shown.front());
    if (window && eglMakeCurrent(display_, *window, *window, context_) == EGL_TRUE) {
      glBindFramebuffer(GL_FRAMEBUFFER, 0);
      straight_ = shown.front().id;
      return;
    }
  }
  DrawIntoCanvas();
}

void EglSurface::DrawIntoCanvas() {
  straight_.reset();
  MakeCurrentWithoutWindow();
  glBindFramebuffer(GL_FRAMEBUFFER, frame_buffer_);
}

// EGL has no server font to make lists from: the overlay's face is rasterised here.
std::optional<gl::FontLists> EglSurface::MakeFont(int first, int count) {
  return MakeRasterFontLists(first, count);
}

}  // namespace tolvenar::linux_port
