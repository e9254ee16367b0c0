#pragma once
// Window timers as the platform's message queue delivers them: a tick is never queued; a timer
// that fell behind by several periods ticks once; ticks come only when no input event waits; and
// a timer stopped (or restarted) before its tick was delivered does not tick.
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace tolvenar {

// A point on a clock that never goes back, in nanoseconds from an arbitrary start.
using TimerTime = std::chrono::nanoseconds;

class TimerQueue {
 public:
  // Starts the timer `id`, replacing a running one of that id; its first tick is due one period
  // from `now`. Periods below the platform's minimum are raised to it.
  void Start(int id, std::uint32_t interval_ms, TimerTime now);
  // Stops the timer; nothing when it is not running.
  void Stop(int id);
  void StopAll() { timers_.clear(); }
  // The timer due earliest at `now`, rescheduled a whole period from `now` (so a late timer ticks
  // once, and the next tick is a full period later); nothing when none is due.
  std::optional<int> TakeDue(TimerTime now);
  // When the next tick is due; nothing when no timer runs.
  std::optional<TimerTime> NextDue() const;

  static constexpr std::uint32_t kMinimumIntervalMs = 10;

 private:
  struct Timer {
    int id;
    TimerTime interval;
    TimerTime due;
  };
  std::vector<Timer> timers_;
};

// Where a window's events come from.
class EventSource {
 public:
  virtual ~EventSource() = default;
  // Handles one waiting event (input, a window change, an end request) and returns true; false
  // when none waits. Never blocks.
  virtual bool DispatchOneEvent() = 0;
  virtual TimerTime Now() = 0;
  // Sleeps until an event may be waiting or until `wake`, whichever comes first.
  virtual void WaitForEvent(TimerTime wake) = 0;
};

// One pass over a window's events: every event that waits, then each due timer, one tick at a time,
// with any event that came meanwhile handled before the next tick; each timer ticks at most once.
// A handler may stop timers or run a nested pass. Returns when nothing waits and nothing is due.
void RunEventPass(EventSource& source, TimerQueue& timers, const std::function<void(int)>& tick);

// Event passes until `until`, sleeping between them until the next event or timer tick; returns
// earlier once `ended` says so after a pass (the window has closed).
void RunEventsUntil(EventSource& source, TimerQueue& timers, const std::function<void(int)>& tick,
                    TimerTime until, const std::function<bool()>& ended);

}  // namespace tolvenar
