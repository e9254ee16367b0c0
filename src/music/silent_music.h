#pragma once
// Music that plays nothing; the CD watcher reports a problem at its first tick.
#include "music/music.h"

namespace tolvenar {

class SilentMusic final : public Music {
 public:
  void PlayMusicFile() override {}
  void RepeatMusicFile() override {}
  void StopMusicFile() override {}
  void PlayWaveSound() override {}
  void StopWaveSound() override {}
  void OpenCdAudio() override {}
  void WatchCdAudio() override {}
  void CloseCdAudio() override {}
  bool CdAudioOk() const override { return false; }
};

}  // namespace tolvenar
