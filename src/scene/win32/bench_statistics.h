#pragma once
// The frame statistics of this process (scene/frame_statistics.h) on Windows' clocks: frames
// timed by the performance counter, the first one from the process's creation time.
#include <windows.h>

#include "scene/frame_statistics.h"

namespace tolvenar::win32 {

class BenchStatistics {
 public:
  // Measures when TOLVENAR_BENCH_FILE is set.
  BenchStatistics();
  // Called after each successful Present; no allocation, no file access.
  void FramePresented();
  // Writes the file, the first time only.
  void Write() { statistics_.Write(); }

 private:
  FrameStatistics statistics_;
};

}  // namespace tolvenar::win32
