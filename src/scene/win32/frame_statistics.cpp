#include "scene/win32/frame_statistics.h"

#include <cstdio>

namespace tolvenar::win32 {

namespace {

std::uint64_t Ticks(FILETIME time) {
  return (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}

}  // namespace

FrameStatistics::FrameStatistics() {
  char path[MAX_PATH];
  const DWORD length = GetEnvironmentVariableA("TOLVENAR_BENCH_FILE", path, sizeof path);
  if (length > 0 && length < sizeof path) file_.assign(path, length);
}

void FrameStatistics::FramePresented() {
  if (file_.empty()) return;
  QueryPerformanceCounter(&last_);
  if (frames_++ > 0) return;
  first_ = last_;
  FILETIME creation, exit, kernel, user, now;
  GetSystemTimePreciseAsFileTime(&now);
  if (GetProcessTimes(GetCurrentProcess(), &creation, &exit, &kernel, &user)) {
    first_frame_ms_ = static_cast<double>(Ticks(now) - Ticks(creation)) / 10000.0;
  }
}

void FrameStatistics::Write() {
  if (file_.empty() || written_) return;
  written_ = true;
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  const double seconds = static_cast<double>(last_.QuadPart - first_.QuadPart) /
                         static_cast<double>(frequency.QuadPart);
  std::FILE* file = std::fopen(file_.c_str(), "w");
  if (!file) return;
  std::fprintf(file, "frames %llu\nseconds %.6f\nfirst_frame_ms %.3f\n",
               static_cast<unsigned long long>(frames_), seconds, first_frame_ms_);
  std::fclose(file);
}

}  // namespace tolvenar::win32
