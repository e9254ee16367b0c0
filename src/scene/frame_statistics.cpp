#include "scene/frame_statistics.h"

#include <charconv>
#include <cstdio>

namespace tolvenar {

std::string FrameStatistics::Text() const {
  const double seconds =
      static_cast<double>(last_ - first_) / static_cast<double>(ticks_per_second_);
  char text[128];
  (void)std::snprintf(text, sizeof text, "frames %llu\nseconds %.6f\nfirst_frame_ms %.3f\n",
                      static_cast<unsigned long long>(frames_), seconds, first_frame_ms_);
  return text;
}

void FrameStatistics::Write() {
  if (file_.empty() || written_) return;
  written_ = true;
  std::FILE* file = std::fopen(file_.c_str(), "w");
  if (!file) return;
  // A failed write leaves the benchmark without figures; the saver runs on regardless.
  (void)std::fputs(Text().c_str(), file);
  (void)std::fclose(file);
}

std::optional<std::uint64_t> ProcessStartTicks(std::string_view stat_line) {
  const std::size_t name_end = stat_line.rfind(')');
  if (name_end == std::string_view::npos) return std::nullopt;
  // Field 3 (the state) follows the name; the start time is field 22.
  std::string_view rest = stat_line.substr(name_end + 1);
  for (int field = 3;; ++field) {
    const std::size_t begin = rest.find_first_not_of(" \n");
    if (begin == std::string_view::npos) return std::nullopt;
    rest.remove_prefix(begin);
    const std::string_view value = rest.substr(0, rest.find_first_of(" \n"));
    if (field == 22) {
      std::uint64_t ticks = 0;
      const char* end = value.data() + value.size();
      const std::from_chars_result read = std::from_chars(value.data(), end, ticks);
      if (read.ec != std::errc() || read.ptr != end) return std::nullopt;
      return ticks;
    }
    rest.remove_prefix(value.size());
  }
}

}  // namespace tolvenar
