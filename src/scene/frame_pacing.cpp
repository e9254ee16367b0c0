#include "scene/frame_pacing.h"

#include <algorithm>

#include "runtime/conversions.h"

namespace tolvenar {

std::uint32_t ParseMaxFps(std::optional<std::string_view> value) {
  return value ? ParseDigits32(*value).value_or(kDefaultMaxFps) : kDefaultMaxFps;
}

FramePacer::FramePacer(FrameClock& clock, std::uint32_t max_fps) : clock_(clock) {
  // Rounded up, so that the rate never exceeds the limit.
  constexpr FrameTime::rep kSecond =
      std::chrono::duration_cast<FrameTime>(std::chrono::seconds(1)).count();
  if (max_fps > 0) interval_ = FrameTime((kSecond + max_fps - 1) / max_fps);
}

std::optional<FrameTime> FramePacer::NextFrameDue() {
  if (!interval_) return std::nullopt;
  const FrameTime now = clock_.Now();
  // Counted from when the last frame was due, not from when it came: a late wake-up or a frame's
  // own drawing time does not slow the rate; but never before now.
  due_ = due_ ? std::max(*due_ + *interval_, now) : now + *interval_;
  return due_;
}

}  // namespace tolvenar
