#pragma once
// The clock the saver's frames are timed by, and that its window waits on.
#include <chrono>

namespace tolvenar {

// A point on a clock that never goes back, in nanoseconds from an arbitrary start.
using FrameTime = std::chrono::nanoseconds;

class FrameClock {
 public:
  virtual ~FrameClock() = default;
  virtual FrameTime Now() = 0;
};

// The standard library's steady clock: the same on both platforms, and the one their window
// timers run on, so one wait serves a frame and a timer alike.
class SteadyFrameClock final : public FrameClock {
 public:
  FrameTime Now() override {
    return std::chrono::duration_cast<FrameTime>(
        std::chrono::steady_clock::now().time_since_epoch());
  }
};

}  // namespace tolvenar
