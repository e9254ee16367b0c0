#pragma once
// The frame statistics of this process (scene/frame_statistics.h) on the platform's clocks: each
// platform's back end defines these members in its bench_statistics_<platform>.cpp (Windows: the
// performance counter and the process's creation time; Linux: the monotonic clock and the start
// time /proc/self/stat gives, in clock ticks, usually 10 ms, so that figure is up to a tick late).
#include "scene/frame_statistics.h"

namespace tolvenar {

class BenchStatistics {
 public:
  // Measures when TOLVENAR_BENCH_FILE is set.
  BenchStatistics();
  // Called after each presented frame; no allocation, no file access but, on Linux, the first
  // frame's.
  void FramePresented();
  // Writes the file, the first time only.
  void Write() { statistics_.Write(); }

 private:
  FrameStatistics statistics_;
};

}  // namespace tolvenar
