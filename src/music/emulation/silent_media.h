#pragma once
// Players for a run that must stay silent (a preview, a second monitor's process, a machine
// without sound): every open fails as it does on a system with no sound device and no CD drive,
// so the music module runs on quietly.
#include "music/media_backend.h"
#include "music/wave_sound.h"

namespace tolvenar {

class SilentMediaBackend final : public MediaBackend {
 public:
  MediaOpenResult OpenFile(int, const std::string&) override {
    return MediaOpenResult::kCannotPlay;
  }
  MediaOpenResult OpenCd(int) override { return MediaOpenResult::kNoDrive; }
  bool Play(int) override { return false; }
  bool Hold(int) override { return false; }
  bool SeekTo(int, long long) override { return false; }
  bool SeekToTrack(int, int) override { return false; }
  std::optional<int> TrackCount(int) override { return std::nullopt; }
  std::optional<int> CurrentTrack(int) override { return std::nullopt; }
  void Close(int) override {}
  std::vector<MediaEvent> TakeEvents(int) override { return {}; }
};

class SilentWaveSound final : public WaveSound {
 public:
  std::uint32_t OutputDeviceCount() override { return 0; }
  bool PlayLooping(const std::string&) override { return false; }
  bool StopPlaying() override { return true; }
};

}  // namespace tolvenar
