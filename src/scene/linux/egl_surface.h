#pragma once
// The GL device's surface on Wayland: one EGL context drawing the scene's whole canvas into a
// frame buffer of its own, from which each output's window takes its part when a frame is shown.
// One context serves every output, so the scene is drawn once whatever their number. Where one
// window shows the whole canvas (one monitor), frames go straight into it instead.
#include <epoxy/egl.h>
#include <epoxy/gl.h>

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "scene/bench_statistics.h"
#include "scene/gl/gl_surface.h"
#include "scene/linux/saver_window_wayland.h"

namespace tolvenar::linux_port {

// The EGL display of a Wayland connection; EGL_NO_DISPLAY when EGL offers none.
EGLDisplay WaylandEglDisplay(wl_display* display);

class EglSurface final : public gl::GlSurface {
 public:
  // Draws for `canvas`, which outlives this object.
  explicit EglSurface(WaylandCanvas& canvas);
  EglSurface(const EglSurface&) = delete;
  EglSurface& operator=(const EglSurface&) = delete;
  ~EglSurface() override;

  bool Available() override;
  bool VersionSupported() override;
  bool MakeContext() override;
  void ReleaseContext() override;
  std::optional<gl::SurfaceSize> Size() override;
  void Present() override;
  std::optional<gl::FontLists> MakeFont(int first, int count) override;

 private:
  // Makes the context current without a window (the canvas is the frame buffer drawn into).
  bool MakeCurrentWithoutWindow();
  void DropWindow(std::uint32_t id);
  // The output's EGL window, made at its first frame.
  std::optional<EGLSurface> WindowOf(const WaylandCanvas::Shown& output);
  // Where the next frame is drawn: straight into the one window that shows the whole canvas,
  // else into the canvas.
  void ChooseNextTarget(const std::vector<WaylandCanvas::Shown>& shown);
  void DrawIntoCanvas();
  void SizeCanvas(int width, int height);

  WaylandCanvas& canvas_;
  EGLDisplay display_ = EGL_NO_DISPLAY;
  bool initialized_ = false;
  EGLConfig config_ = nullptr;
  EGLContext context_ = EGL_NO_CONTEXT;
  EGLSurface stand_in_ =
      EGL_NO_SURFACE;  // a tiny pbuffer where windowless contexts are not offered
  std::map<std::uint32_t, EGLSurface> windows_;  // by output
  std::optional<std::uint32_t> straight_;        // the output drawn into straight, if any
  GLuint frame_buffer_ = 0;
  GLuint colour_ = 0;
  GLuint depth_ = 0;
  int width_ = 0;
  int height_ = 0;
  BenchStatistics statistics_;
};

}  // namespace tolvenar::linux_port
