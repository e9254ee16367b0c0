#include "scene/bench_statistics.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace tolvenar {

namespace {

std::uint64_t Ticks(FILETIME time) {
  return (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}

std::string BenchFile() {
  char path[MAX_PATH];
  const DWORD length = GetEnvironmentVariableA(kBenchFileVariable, path, sizeof path);
  return length > 0 && length < sizeof path ? std::string(path, length) : std::string();
}

std::uint64_t CounterFrequency() {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<std::uint64_t>(frequency.QuadPart);
}

// Milliseconds since the process was created; 0 when the system does not say.
double SinceProcessCreationMs() {
  FILETIME creation, exit, kernel, user, now;
  GetSystemTimePreciseAsFileTime(&now);
  if (!GetProcessTimes(GetCurrentProcess(), &creation, &exit, &kernel, &user)) return 0;
  return static_cast<double>(Ticks(now) - Ticks(creation)) / 10000.0;
}

}  // namespace

BenchStatistics::BenchStatistics() : statistics_(BenchFile(), CounterFrequency()) {}

void BenchStatistics::FramePresented() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  statistics_.FramePresented(static_cast<std::uint64_t>(now.QuadPart), SinceProcessCreationMs);
}

}  // namespace tolvenar
