#pragma once
// The benchmark's view of the saver: when the environment variable TOLVENAR_BENCH_FILE names a
// file, the presented frames are counted and written there once, as lines "frames N",
// "seconds S" (first to last frame) and "first_frame_ms M" (process start to the first frame).
// Without the variable nothing is measured or written.
#include <windows.h>

#include <cstdint>
#include <string>

namespace tolvenar::win32 {

class FrameStatistics {
 public:
  FrameStatistics();
  // Called after each successful Present; no allocation, no file access.
  void FramePresented();
  // Writes the file, the first time only.
  void Write();

 private:
  std::string file_;
  bool written_ = false;
  std::uint64_t frames_ = 0;
  LARGE_INTEGER first_{};
  LARGE_INTEGER last_{};
  double first_frame_ms_ = 0;
};

}  // namespace tolvenar::win32
