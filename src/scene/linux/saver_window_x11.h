#pragma once
// The saver window on X11: a full-screen window of the program's own, a host's window (a settings
// preview, or the host's saver window) or the (virtual) root window; its two timers, the event pass
// over the X connection and the termination signals, and the load of the whole saver on it.
#include <X11/Xlib.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "music/music.h"
#include "runtime/desktop.h"
#include "runtime/embedded_data.h"
#include "runtime/linux/termination_signals.h"
#include "runtime/process.h"
#include "runtime/randomness.h"
#include "runtime/settings_record.h"
#include "runtime/emulation/timer_queue.h"
#include "scene/frame_clock.h"
#include "scene/linux/saver_window_timers.h"
#include "scene/saver_window_host.h"
#include "scene/saver_window_parts.h"
#include "scene/scene.h"

namespace tolvenar::linux_port {

// Builds the scene on the window the saver draws on.
using SceneFactory = std::function<std::unique_ptr<Scene>(Display* display, Window window)>;

// Where the saver draws.
enum class SaverTarget {
  kOwnWindow,   // a window of its own over every monitor, ended by a key or a button
  kHostWindow,  // a window another program owns: followed in size, the run ends when it goes
  kRootWindow,  // the virtual root, else the root window
};

struct SaverWindowPlace {
  SaverTarget target = SaverTarget::kOwnWindow;
  Window window = None;          // the host's window, for kHostWindow
  bool covers_monitors = false;  // the scene learns the monitors, else the window is one screen
};

// What the saver window on X11 needs beyond the parts every platform's has; filled by name.
struct X11SaverWindowSetup {
  Display* display = nullptr;
  SaverWindowPlace place;
  TerminationSignals* signals = nullptr;
  SceneFactory make_scene;
  // When set, runs every `interval_ms` while the window is open (the music lock's retry).
  std::function<void()> every_interval;
  std::uint32_t interval_ms = 0;
};

// Brings up the saver's window, builds the scene on it and runs its load handler until the run
// ends. Returns at once when the window or the scene could not be had.
void LoadSaverWindow(const SaverWindowParts& parts, const X11SaverWindowSetup& setup);

class X11SaverWindowHost final : public SaverWindowHost, private EventSource {
 public:
  // Creates the own window (hidden) or takes the host's or the root window; window() is None
  // when there is none (the host's window is already gone).
  X11SaverWindowHost(Display* display, const SaverWindowPlace& place, TerminationSignals& signals);
  X11SaverWindowHost(const X11SaverWindowHost&) = delete;
  X11SaverWindowHost& operator=(const X11SaverWindowHost&) = delete;
  ~X11SaverWindowHost() override;

  Window window() const { return gone_ ? None : window_; }
  // The clock the event pass waits on (the timers run on it too).
  FrameClock& clock() { return clock_; }
  // The handlers that the window's events run; until then events run none.
  void Connect(SaverWindowEvents& events) { events_ = &events; }
  // Runs `tick` every `interval_ms` in the event pass until the window closes.
  void StartIntervalTimer(std::uint32_t interval_ms, std::function<void()> tick);

  std::vector<PixelRect> GetMonitors() override;
  void SetSize(int width, int height) override;
  void Move(int left, int top) override;
  void ShowNormal() override;
  void Close() override;
  void StartTimer(SaverTimer timer, std::uint32_t interval_ms) override;
  void StopTimer(SaverTimer timer) override;
  void ProcessEvents(std::optional<FrameTime> until) override;
  // The end of a session comes as a signal, which the next event pass serves; the pictures stay
  // in memory, so nothing is left behind meanwhile.
  void ServeRequests() override {}
  // Ends the run: the load handler returns, and the program after it, so that every object is
  // released on the way out.
  void EndProcess() override { XFlush(display_); }

 private:
  bool DispatchOneEvent() override;
  TimerTime Now() override;
  // Sleeps until `wake`, an X event or an end request, whichever comes first.
  void WaitForEvent(TimerTime wake) override;
  void Handle(const XEvent& event);
  void CreateOwnWindow();
  void WatchForeignWindow();

  Display* display_;
  SaverWindowPlace place_;
  TerminationSignals& signals_;
  SteadyFrameClock clock_;
  Window window_ = None;
  Cursor invisible_pointer_ = None;
  Atom wm_delete_window_ = None;
  int width_ = 0;
  int height_ = 0;
  SaverWindowTimers timers_;
  SaverWindowEvents* events_ = nullptr;
  bool gone_ = false;  // destroyed: no request may name it any more
  bool closing_ = false;
  bool closed_ = false;
};

// The virtual root a window manager may lay over the root window (a child of the root carrying
// __SWM_VROOT), else the root window.
Window VirtualRootWindow(Display* display);

}  // namespace tolvenar::linux_port
