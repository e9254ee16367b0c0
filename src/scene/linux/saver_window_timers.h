#pragma once
// The saver window's two timers and the host's own interval timer (the music lock's retry), as
// the saver windows of both display systems run them in their event passes.
#include <cstdint>
#include <functional>
#include <optional>

#include "runtime/emulation/timer_queue.h"
#include "scene/frame_clock.h"
#include "scene/saver_window_host.h"

namespace tolvenar::linux_port {

class SaverWindowTimers {
 public:
  void Start(SaverTimer timer, std::uint32_t interval_ms, TimerTime now) {
    queue_.Start(static_cast<int>(timer), interval_ms, now);
  }
  void Stop(SaverTimer timer) { queue_.Stop(static_cast<int>(timer)); }
  // Runs `tick` every `interval_ms` in the event passes until StopAll.
  void StartInterval(std::uint32_t interval_ms, std::function<void()> tick, TimerTime now);
  void StopAll() { queue_.StopAll(); }

  // Event passes over `source` as SaverWindowHost::ProcessEvents makes them: one without `until`,
  // else until then or until `closed` says so. Ticks run the window's handlers (`events`, none
  // when null) while the window is open.
  void Run(EventSource& source, SaverWindowEvents* events, std::optional<FrameTime> until,
           const std::function<bool()>& closed);

 private:
  TimerQueue queue_;
  std::function<void()> interval_tick_;
};

}  // namespace tolvenar::linux_port
