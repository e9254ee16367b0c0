#pragma once
// The platform's wave-sound player, which plays one sound file at a time in the background.
// Paths are bytes in the system's ANSI code page.
#include <cstdint>
#include <string>

namespace tolvenar {

class WaveSound {
 public:
  virtual ~WaveSound() = default;
  // The number of wave output devices; 0 when the machine can play no sound.
  virtual std::uint32_t OutputDeviceCount() = 0;
  // Starts playing the file over and over and returns at once; false when it was not started.
  virtual bool PlayLooping(const std::string& path) = 0;
  // Stops whatever the player plays; false when the platform reports a failure.
  virtual bool StopPlaying() = 0;
};

}  // namespace tolvenar
