#pragma once
// A lock that another process holds until `free` says it has let go.
#include "runtime/exclusive_lock.h"

namespace tolvenar::testing {

class FakeLock : public ExclusiveLock {
 public:
  bool TryTake() override {
    held = held || free;
    return held;
  }
  bool free = false;
  bool held = false;
};

}  // namespace tolvenar::testing
