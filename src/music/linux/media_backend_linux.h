#pragma once
// The MCI emulator's players on GStreamer: one playbin per open device, its bus read when the
// emulator asks for events, so no main loop runs. The CD is "cdda://1" played on to the disc's end.
#include <map>
#include <memory>

#include "music/linux/gstreamer_linux.h"
#include "music/media_backend.h"

namespace tolvenar::linux_port {

class GstMediaBackend final : public MediaBackend {
 public:
  GstMediaBackend() { InitializeGStreamer(); }

  MediaOpenResult OpenFile(int id, const std::string& path) override;
  MediaOpenResult OpenCd(int id) override;
  bool Play(int id) override;
  bool Hold(int id) override;
  bool SeekTo(int id, long long position_ms) override;
  bool SeekToTrack(int id, int track) override;
  std::optional<int> TrackCount(int id) override;
  std::optional<int> CurrentTrack(int id) override;
  void Close(int id) override;
  std::vector<MediaEvent> TakeEvents(int id) override;

 private:
  Playbin* Find(int id);
  // Keeps the player when it prerolls.
  bool Open(int id, std::unique_ptr<Playbin> playbin);

  std::map<int, std::unique_ptr<Playbin>> players_;
};

}  // namespace tolvenar::linux_port
