#pragma once
// The saver window on Wayland: a surface on every output (the layer shell's overlay where the
// compositor offers it, else a full-screen top-level window per output), each showing its part of
// the one canvas the scene draws; the seat's keys and buttons, the outputs that come and go, the
// timers, the termination signals and the load of the whole saver on it.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "runtime/emulation/timer_queue.h"
#include "runtime/linux/owners_wayland.h"
#include "runtime/linux/termination_signals.h"
#include "runtime/pixel_geometry.h"
#include "scene/frame_clock.h"
#include "scene/linux/saver_window_timers.h"
#include "scene/output_canvas.h"
#include "scene/saver_window_host.h"
#include "scene/saver_window_parts.h"
#include "scene/scene.h"

namespace tolvenar::linux_port {

// What the GL surface on Wayland draws for: the canvas the scene draws, and the outputs' surfaces,
// each showing a part of it.
class WaylandCanvas {
 public:
  struct Shown {
    std::uint32_t id = 0;             // the output's, never used again in the run
    wl_egl_window* window = nullptr;  // sized to the output's buffer pixels
    ShownPart part;                   // the part of the canvas it shows, at that size
  };
  virtual ~WaylandCanvas() = default;
  virtual wl_display* display() = 0;
  // The canvas's size in pixels; nothing once the saver window has closed.
  virtual std::optional<PixelPoint> CanvasSize() = 0;
  // The surfaces ready for a picture now.
  virtual std::vector<Shown> ShownOutputs() = 0;
  // `before_gone(id)` runs just before an output's surface goes, so that what draws into it lets
  // go of it first.
  virtual void OnSurfaceGone(std::function<void(std::uint32_t id)> before_gone) = 0;
};

// Builds the scene drawing on the canvas.
using WaylandSceneFactory = std::function<std::unique_ptr<Scene>(WaylandCanvas& canvas)>;

// What the saver window on Wayland needs beyond the parts every platform's has; filled by name.
struct WaylandSaverWindowSetup {
  wl_display* display = nullptr;
  TerminationSignals* signals = nullptr;
  WaylandSceneFactory make_scene;
  // When set, runs every `interval_ms` while the window is open (the music lock's retry).
  std::function<void()> every_interval;
  std::uint32_t interval_ms = 0;
};

// Brings up the outputs' surfaces, builds the scene on them and runs the load handler until the
// run ends. Returns at once when no output got a surface or the scene could not be had.
void LoadSaverWindow(const SaverWindowParts& parts, const WaylandSaverWindowSetup& setup);

class WaylandSaverWindowHost final : public SaverWindowHost,
                                     public WaylandCanvas,
                                     private EventSource {
 public:
  // Learns the compositor's globals and outputs and gives each output its surface; ready() says
  // whether any got one.
  WaylandSaverWindowHost(wl_display* display, TerminationSignals& signals);
  WaylandSaverWindowHost(const WaylandSaverWindowHost&) = delete;
  WaylandSaverWindowHost& operator=(const WaylandSaverWindowHost&) = delete;
  ~WaylandSaverWindowHost() override;

  bool ready() const { return !parts_.empty() && !closed_; }
  SurfaceShell shell() const { return shell_; }
  FrameClock& clock() { return clock_; }
  void Connect(SaverWindowEvents& events) { events_ = &events; }
  void StartIntervalTimer(std::uint32_t interval_ms, std::function<void()> tick);

  std::vector<PixelRect> GetMonitors() override;
  // The compositor places each output's surface: the canvas is the window.
  void SetSize(int, int) override {}
  void Move(int, int) override {}
  // The surfaces show with their first picture.
  void ShowNormal() override {}
  void Close() override;
  void StartTimer(SaverTimer timer, std::uint32_t interval_ms) override;
  void StopTimer(SaverTimer timer) override;
  void ProcessEvents(std::optional<FrameTime> until) override;
  // The end of a session comes as a signal, which the next event pass serves.
  void ServeRequests() override {}
  void EndProcess() override;

  wl_display* display() override { return display_; }
  std::optional<PixelPoint> CanvasSize() override;
  std::vector<Shown> ShownOutputs() override;
  void OnSurfaceGone(std::function<void(std::uint32_t id)> before_gone) override {
    before_gone_ = std::move(before_gone);
  }

  // For the protocol's listeners.
  struct Output;
  void GlobalAdded(wl_registry* registry, std::uint32_t name, const char* interface,
                   std::uint32_t version);
  void GlobalRemoved(std::uint32_t name);
  void OutputDone(Output& output);
  void SurfaceConfigured(Output& output, std::int32_t width, std::int32_t height);
  void SurfaceClosed(Output& output);
  void SeatCapabilities(std::uint32_t capabilities);
  void KeyPressed();
  void ButtonPressed();
  void PointerEntered(std::uint32_t serial);
  void CloseRequested() { Close(); }

 private:
  bool DispatchOneEvent() override;
  TimerTime Now() override { return clock_.Now(); }
  void WaitForEvent(TimerTime wake) override;
  void MakeSurface(Output& output);
  void DropSurface(Output& output);

  wl_display* display_;
  TerminationSignals& signals_;
  SteadyFrameClock clock_;
  // The compositor's globals the saver binds; their types come with the generated protocol code.
  struct Globals;
  std::unique_ptr<Globals> globals_;
  std::vector<std::unique_ptr<Output>> outputs_;  // listeners hold their addresses
  std::uint32_t next_output_id_ = 1;
  SurfaceShell shell_ = SurfaceShell::kNone;
  bool started_ = false;  // the first outputs have their parts; later ones show the first's
  std::vector<PixelRect> parts_;
  std::function<void(std::uint32_t)> before_gone_;
  SaverWindowTimers timers_;
  SaverWindowEvents* events_ = nullptr;
  bool closing_ = false;
  bool closed_ = false;
};

}  // namespace tolvenar::linux_port
