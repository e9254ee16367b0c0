#include "runtime/emulation/timer_queue.h"

#include <algorithm>

namespace tolvenar {

void TimerQueue::Start(int id, std::uint32_t interval_ms, TimerTime now) {
  Stop(id);
  const TimerTime interval = std::chrono::milliseconds(std::max(interval_ms, kMinimumIntervalMs));
  timers_.push_back({id, interval, now + interval});
}

void TimerQueue::Stop(int id) {
  timers_.erase(std::remove_if(timers_.begin(), timers_.end(),
                               [id](const Timer& timer) { return timer.id == id; }),
                timers_.end());
}

std::optional<int> TimerQueue::TakeDue(TimerTime now) {
  auto earliest = std::min_element(timers_.begin(), timers_.end(),
                                   [](const Timer& a, const Timer& b) { return a.due < b.due; });
  if (earliest == timers_.end() || earliest->due > now) return std::nullopt;
  earliest->due = now + earliest->interval;
  return earliest->id;
}

std::optional<TimerTime> TimerQueue::NextDue() const {
  auto earliest = std::min_element(timers_.begin(), timers_.end(),
                                   [](const Timer& a, const Timer& b) { return a.due < b.due; });
  if (earliest == timers_.end()) return std::nullopt;
  return earliest->due;
}

void RunEventPass(EventSource& source, TimerQueue& timers, const std::function<void(int)>& tick) {
  // Timers are due against the pass's start, so each ticks at most once a pass even when its
  // handler is slower than its period.
  const TimerTime start = source.Now();
  for (;;) {
    if (source.DispatchOneEvent()) continue;
    const std::optional<int> due = timers.TakeDue(start);
    if (!due) return;
    tick(*due);
  }
}

void RunEventsUntil(EventSource& source, TimerQueue& timers, const std::function<void(int)>& tick,
                    TimerTime until, const std::function<bool()>& ended) {
  for (;;) {
    RunEventPass(source, timers, tick);
    if (ended() || source.Now() >= until) return;
    // A tick due first ends the sleep for its pass; the wait then goes on.
    const std::optional<TimerTime> next_tick = timers.NextDue();
    source.WaitForEvent(next_tick ? std::min(*next_tick, until) : until);
  }
}

}  // namespace tolvenar
