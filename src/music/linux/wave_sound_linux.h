#pragma once
// The looping wave player on GStreamer: a playbin that is handed the same file again just before
// each end, so the sound loops without a gap; a watcher thread seeks back to the start should an
// end get through all the same.
#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "music/linux/gstreamer_linux.h"
#include "music/wave_sound.h"

namespace tolvenar::linux_port {

class GstWaveSound final : public WaveSound {
 public:
  GstWaveSound() { InitializeGStreamer(); }
  ~GstWaveSound() override { StopPlaying(); }
  GstWaveSound(const GstWaveSound&) = delete;
  GstWaveSound& operator=(const GstWaveSound&) = delete;

  // 1 when an audio sink can be made, else 0.
  std::uint32_t OutputDeviceCount() override;
  // Plays a RIFF wave file only, as the platform's wave player does.
  bool PlayLooping(const std::string& path) override;
  bool StopPlaying() override;

 private:
  static void QueueTheSameFile(GstElement* playbin, gpointer self);
  void WatchForEnds();

  std::string uri_;  // read by the streaming thread while the playbin plays
  std::unique_ptr<Playbin> playbin_;
  std::atomic<bool> stopping_{false};
  std::thread watcher_;
};

}  // namespace tolvenar::linux_port
