#pragma once
// The frame statistics of this process (scene/frame_statistics.h) on Linux's clocks: frames timed
// by the monotonic clock, the first one from the process's start as /proc/self/stat gives it (in
// clock ticks, usually 10 ms: the figure is up to one tick late).
#include "scene/frame_statistics.h"

namespace tolvenar::linux_port {

class BenchStatistics {
 public:
  // Measures when TOLVENAR_BENCH_FILE is set.
  BenchStatistics();
  // Called after each presented frame; no allocation, no file access but the first frame's.
  void FramePresented();
  // Writes the file, the first time only.
  void Write() { statistics_.Write(); }

 private:
  FrameStatistics statistics_;
};

}  // namespace tolvenar::linux_port
