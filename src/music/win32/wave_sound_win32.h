#pragma once
// The wave-sound player on winmm.
#include "music/wave_sound.h"

namespace tolvenar::win32 {

class Win32WaveSound final : public WaveSound {
 public:
  std::uint32_t OutputDeviceCount() override;
  bool PlayLooping(const std::string& path) override;
  bool StopPlaying() override;
};

}  // namespace tolvenar::win32
