#include "scene/bench_statistics.h"

#include <time.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

namespace tolvenar {

namespace {

constexpr std::uint64_t kNanosecondsPerSecond = 1000000000;

std::string BenchFile() {
  const char* file = std::getenv(kBenchFileVariable);
  return file ? std::string(file) : std::string();
}

std::uint64_t Nanoseconds(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return static_cast<std::uint64_t>(now.tv_sec) * kNanosecondsPerSecond +
         static_cast<std::uint64_t>(now.tv_nsec);
}

// Milliseconds since the process started; 0 when the system does not say. The start time counts
// from the boot, as CLOCK_BOOTTIME does.
double SinceProcessStartMs() {
  const double now_ms = static_cast<double>(Nanoseconds(CLOCK_BOOTTIME)) / 1e6;
  std::ifstream stat("/proc/self/stat");
  std::string line;
  const long ticks_per_second = sysconf(_SC_CLK_TCK);
  if (!std::getline(stat, line) || ticks_per_second <= 0) return 0;
  const std::optional<std::uint64_t> start = ProcessStartTicks(line);
  if (!start) return 0;
  return now_ms - static_cast<double>(*start) * 1000.0 / static_cast<double>(ticks_per_second);
}

}  // namespace

BenchStatistics::BenchStatistics() : statistics_(BenchFile(), kNanosecondsPerSecond) {}

void BenchStatistics::FramePresented() {
  statistics_.FramePresented(Nanoseconds(CLOCK_MONOTONIC), SinceProcessStartMs);
}

}  // namespace tolvenar
