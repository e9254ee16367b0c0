#include "music/linux/wave_sound_linux.h"

#include <chrono>
#include <fstream>

#include "runtime/linux/system_path.h"

namespace tolvenar::linux_port {
namespace {

bool IsWaveFile(const SystemPath& path) {
  std::ifstream file(path.str(), std::ios::binary);
  char header[12] = {};
  if (!file.read(header, sizeof header)) return false;
  return std::string(header, 4) == "RIFF" && std::string(header + 8, 4) == "WAVE";
}

}  // namespace

// Runs in a streaming thread: it sets only the property playbin asks for there, and nothing once
// the player is being stopped, so that the pipeline is not switching streams as it goes down.
void GstWaveSound::QueueTheSameFile(GstElement* playbin, gpointer self) {
  const auto* player = static_cast<const GstWaveSound*>(self);
  if (!player->stopping_) g_object_set(playbin, "uri", player->uri_.c_str(), nullptr);
}

std::uint32_t GstWaveSound::OutputDeviceCount() { return CanMakeAudioSink() ? 1 : 0; }

bool GstWaveSound::PlayLooping(const std::string& path) {
  StopPlaying();
  const std::optional<SystemPath> file = SystemPath::FromCore(path);
  const std::optional<std::string> uri = file ? FileUri(*file) : std::nullopt;
  if (!uri || !IsWaveFile(*file)) return false;
  uri_ = *uri;
  stopping_ = false;
  auto playbin = std::make_unique<Playbin>(uri_);
  if (!playbin->valid()) return false;
  g_signal_connect(playbin->element(), "about-to-finish", G_CALLBACK(QueueTheSameFile), this);
  if (!playbin->SetState(GST_STATE_PLAYING)) return false;
  playbin_ = std::move(playbin);
  watcher_ = std::thread([this] { WatchForEnds(); });
  return true;
}

void GstWaveSound::WatchForEnds() {
  while (!stopping_) {
    for (const MediaEvent event : playbin_->TakeEvents()) {
      if (event == MediaEvent::kEnded) playbin_->Seek(GST_FORMAT_TIME, 0);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

bool GstWaveSound::StopPlaying() {
  stopping_ = true;
  if (watcher_.joinable()) watcher_.join();
  playbin_.reset();  // to NULL, which also ends the streaming threads
  return true;
}

}  // namespace tolvenar::linux_port
