#include "scene/frame_pacing.h"

#include <algorithm>
#include <charconv>

namespace tolvenar {

std::uint32_t ParseMaxFps(std::optional<std::string_view> value) {
  if (!value || value->empty()) return kDefaultMaxFps;
  // from_chars alone would take a leading minus; only digits are a whole number here.
  if (value->find_first_not_of("0123456789") != std::string_view::npos) return kDefaultMaxFps;
  std::uint32_t fps = 0;
  const char* end = value->data() + value->size();
  const std::from_chars_result read = std::from_chars(value->data(), end, fps);
  if (read.ec != std::errc() || read.ptr != end) return kDefaultMaxFps;
  return fps;
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
