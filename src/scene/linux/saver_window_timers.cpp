#include "scene/linux/saver_window_timers.h"

#include <utility>

namespace tolvenar::linux_port {

namespace {

// The host's own timer, beside the saver window's two.
constexpr int kIntervalTimer = 3;

}  // namespace

void SaverWindowTimers::StartInterval(std::uint32_t interval_ms, std::function<void()> tick,
                                      TimerTime now) {
  interval_tick_ = std::move(tick);
  queue_.Start(kIntervalTimer, interval_ms, now);
}

void SaverWindowTimers::Run(EventSource& source, SaverWindowEvents* events,
                            std::optional<FrameTime> until, const std::function<bool()>& closed) {
  const auto tick = [&](int id) {
    if (!events || closed()) return;
    if (id == static_cast<int>(SaverTimer::kTimer1)) events->Timer1_Timer();
    if (id == static_cast<int>(SaverTimer::kTimer2)) events->Timer2_Timer();
    if (id == kIntervalTimer && interval_tick_) interval_tick_();
  };
  if (!until) {
    RunEventPass(source, queue_, tick);
    return;
  }
  RunEventsUntil(source, queue_, tick, *until, closed);
}

}  // namespace tolvenar::linux_port
