#pragma once
// A frame clock that stands still until a test (or a fake that waits on it) moves it on.
#include "scene/frame_clock.h"

namespace tolvenar::testing {

class FakeFrameClock : public FrameClock {
 public:
  FrameTime Now() override { return now; }

  FrameTime now{};
};

}  // namespace tolvenar::testing
