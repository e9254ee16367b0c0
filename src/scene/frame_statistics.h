#pragma once
// The benchmark's view of the saver: when the environment variable TOLVENAR_BENCH_FILE names a
// file, the presented frames are counted and written there once, as lines "frames N",
// "seconds S" (first to last frame) and "first_frame_ms M" (process start to the first frame).
// Without the variable nothing is measured or written. The platform reads the variable and its
// clocks; the counting and the file are here.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace tolvenar {

inline constexpr char kBenchFileVariable[] = "TOLVENAR_BENCH_FILE";

class FrameStatistics {
 public:
  // Measures when `file` is not empty. FramePresented's clock runs at `ticks_per_second`.
  FrameStatistics(std::string file, std::uint64_t ticks_per_second)
      : file_(std::move(file)), ticks_per_second_(ticks_per_second) {}

  // A frame was presented at `now_ticks`. For the first one `since_start_ms()` is asked how many
  // milliseconds after the process's start that was (0 when it cannot tell). Called after each
  // successful present: no allocation, no file access.
  template <class SinceStartMs>
  void FramePresented(std::uint64_t now_ticks, SinceStartMs since_start_ms) {
    if (file_.empty()) return;
    last_ = now_ticks;
    if (frames_++ > 0) return;
    first_ = now_ticks;
    first_frame_ms_ = since_start_ms();
  }

  // The file's text.
  std::string Text() const;
  // Writes the file, the first time only; nothing without one.
  void Write();

 private:
  std::string file_;
  std::uint64_t ticks_per_second_;
  bool written_ = false;
  std::uint64_t frames_ = 0;
  std::uint64_t first_ = 0;
  std::uint64_t last_ = 0;
  double first_frame_ms_ = 0;
};

// The start time in a Linux process's status line (/proc/PID/stat, field 22: clock ticks after
// the boot); nullopt when the line does not have one. The program's name in parentheses may hold
// blanks and parentheses itself, so the fields are counted after the last ')'.
std::optional<std::uint64_t> ProcessStartTicks(std::string_view stat_line);

}  // namespace tolvenar
