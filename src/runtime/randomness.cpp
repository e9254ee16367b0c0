#include "runtime/randomness.h"

#include <chrono>
#include <cstring>
#include <ctime>

namespace tolvenar {

float LinearRandomness::SecondsSinceMidnight() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
#if defined(_WIN32)
  localtime_s(&local, &seconds);
#else
  localtime_r(&seconds, &local);
#endif
  const auto fraction =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  return static_cast<float>(local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) +
         static_cast<float>(fraction) / 1000.0f;
}

void LinearRandomness::Seed(float seed) {
  unsigned bits = 0;
  std::memcpy(&bits, &seed, sizeof bits);
  state_ = ((bits ^ (bits >> 16)) & 0xFFFFFFu);
}

float LinearRandomness::Next() {
  state_ = (state_ * 0x43FD43FDu + 0xC39EC3u) & 0xFFFFFFu;
  return static_cast<float>(state_) / 16777216.0f;  // 24 bits: always below 1
}

}  // namespace tolvenar
