#pragma once
// A window's event source on a clock the test sets: events wait in a list and each one runs its
// action when dispatched.
#include <chrono>
#include <deque>
#include <functional>

#include "runtime/timer_queue.h"

namespace tolvenar::testing {

class FakeEventSource : public EventSource {
 public:
  bool DispatchOneEvent() override {
    if (waiting.empty()) return false;
    const std::function<void()> event = waiting.front();
    waiting.pop_front();
    event();
    return true;
  }
  TimerClockMs Now() override { return now; }

  TimerClockMs now{0};
  std::deque<std::function<void()>> waiting;
};

}  // namespace tolvenar::testing
