#pragma once
// A window's event source on a clock the test sets: events wait in a list and each one runs its
// action when dispatched. A wait moves the clock on to its end, or to the first event that arrives
// before it, which then waits.
#include <algorithm>
#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <vector>

#include "runtime/emulation/timer_queue.h"

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
  TimerTime Now() override { return now; }
  void WaitForEvent(TimerTime wake) override {
    waits.push_back(wake);
    auto first = arriving.begin();
    if (first != arriving.end() && first->first < wake) {
      now = std::max(now, first->first);
      waiting.push_back(first->second);
      arriving.erase(first);
    } else {
      now = std::max(now, wake);
    }
  }

  TimerTime now{0};
  std::deque<std::function<void()>> waiting;
  std::multimap<TimerTime, std::function<void()>> arriving;  // by the time each arrives
  std::vector<TimerTime> waits;                              // each wait's `wake`
};

}  // namespace tolvenar::testing
