#pragma once
// The frame limit: at most so many frames a second, each due one interval after the one before;
// after a frame that took longer, the next is due at once and the count goes on from there (no
// burst of frames to catch up).
#include <cstdint>
#include <optional>
#include <string_view>

#include "scene/frame_clock.h"

namespace tolvenar {

// The environment variable that sets the limit (0: none), read once at the program's start.
inline constexpr char kMaxFpsVariable[] = "TOLVENAR_MAX_FPS";
inline constexpr std::uint32_t kDefaultMaxFps = 60;

// The limit the variable's value gives: a whole number of frames a second, 0 for none; the default
// when it is unset or not a plain whole number (signs, blanks, fractions, too large).
std::uint32_t ParseMaxFps(std::optional<std::string_view> value);

class FramePacer {
 public:
  // At most `max_fps` frames a second; 0: no limit.
  FramePacer(FrameClock& clock, std::uint32_t max_fps);

  // Asked once after each frame: when the next one is due; nothing without a limit.
  std::optional<FrameTime> NextFrameDue();

 private:
  FrameClock& clock_;
  std::optional<FrameTime> interval_;  // none: no limit
  std::optional<FrameTime> due_;       // when the last frame was due
};

}  // namespace tolvenar
