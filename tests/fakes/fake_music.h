#pragma once
// A music module that records every call in the shared log.
#include <string>

#include "fakes/fake_runtime.h"
#include "music/music.h"

namespace tolvenar::testing {

class FakeMusic : public Music {
 public:
  explicit FakeMusic(CallLog& log) : log_(log) {}
  void PlayMusicFile() override { log_.push_back("PlayMusicFile"); }
  void RepeatMusicFile() override { log_.push_back("RepeatMusicFile"); }
  void StopMusicFile() override { log_.push_back("StopMusicFile"); }
  void PlayWaveSound() override { log_.push_back("PlayWaveSound"); }
  void StopWaveSound() override { log_.push_back("StopWaveSound"); }
  void OpenCdAudio() override { log_.push_back("OpenCdAudio"); }
  void WatchCdAudio() override {
    log_.push_back("WatchCdAudio");
    if (watch_fails) cd_audio_ok = false;
  }
  void CloseCdAudio() override { log_.push_back("CloseCdAudio"); }
  bool CdAudioOk() const override { return cd_audio_ok; }

  bool cd_audio_ok = true;
  bool watch_fails = false;  // the next watch tick reports a problem

 private:
  CallLog& log_;
};

}  // namespace tolvenar::testing
