#include "music/linux/media_backend_linux.h"

#include <utility>

namespace tolvenar::linux_port {
namespace {

// Long enough for a first plug-in registry scan; a missing or unreadable source fails at once.
constexpr int kOpenTimeoutMs = 5000;

// The CD source's "track" format: positions count tracks from 0.
GstFormat TrackFormat() { return gst_format_get_by_nick("track"); }

void PlayToTheEndOfTheDisc(GstElement*, GstElement* source, gpointer) {
  if (g_object_class_find_property(G_OBJECT_GET_CLASS(source), "mode")) {
    gst_util_set_object_arg(G_OBJECT(source), "mode", "continuous");
  }
}

}  // namespace

Playbin* GstMediaBackend::Find(int id) {
  const auto it = players_.find(id);
  return it == players_.end() ? nullptr : it->second.get();
}

bool GstMediaBackend::Open(int id, std::unique_ptr<Playbin> playbin) {
  if (!playbin->valid() || !playbin->Preroll(kOpenTimeoutMs)) return false;
  players_[id] = std::move(playbin);
  return true;
}

MediaOpenResult GstMediaBackend::OpenFile(int id, const std::string& path) {
  const std::optional<SystemPath> file = SystemPath::FromCore(path);
  const std::optional<std::string> uri = file ? FileUri(*file) : std::nullopt;
  if (!uri || !Open(id, std::make_unique<Playbin>(*uri))) return MediaOpenResult::kCannotPlay;
  return MediaOpenResult::kOpened;
}

MediaOpenResult GstMediaBackend::OpenCd(int id) {
  auto playbin = std::make_unique<Playbin>("cdda://1");
  if (playbin->valid()) {
    g_signal_connect(playbin->element(), "source-setup", G_CALLBACK(PlayToTheEndOfTheDisc),
                     nullptr);
  }
  if (TrackFormat() == GST_FORMAT_UNDEFINED || !Open(id, std::move(playbin))) {
    return MediaOpenResult::kNoDrive;
  }
  return MediaOpenResult::kOpened;
}

bool GstMediaBackend::Play(int id) {
  Playbin* player = Find(id);
  return player && player->SetState(GST_STATE_PLAYING);
}

bool GstMediaBackend::Hold(int id) {
  Playbin* player = Find(id);
  return player && player->SetState(GST_STATE_PAUSED);
}

bool GstMediaBackend::SeekTo(int id, long long position_ms) {
  Playbin* player = Find(id);
  return player && player->Seek(GST_FORMAT_TIME, position_ms * GST_MSECOND);
}

bool GstMediaBackend::SeekToTrack(int id, int track) {
  Playbin* player = Find(id);
  return player && player->Seek(TrackFormat(), track - 1);
}

std::optional<int> GstMediaBackend::TrackCount(int id) {
  Playbin* player = Find(id);
  gint64 count = 0;
  if (!player || !gst_element_query_duration(player->element(), TrackFormat(), &count)) {
    return std::nullopt;
  }
  return static_cast<int>(count);
}

std::optional<int> GstMediaBackend::CurrentTrack(int id) {
  Playbin* player = Find(id);
  gint64 track = 0;
  if (!player || !gst_element_query_position(player->element(), TrackFormat(), &track)) {
    return std::nullopt;
  }
  return static_cast<int>(track) + 1;
}

void GstMediaBackend::Close(int id) { players_.erase(id); }

std::vector<MediaEvent> GstMediaBackend::TakeEvents(int id) {
  Playbin* player = Find(id);
  return player ? player->TakeEvents() : std::vector<MediaEvent>();
}

}  // namespace tolvenar::linux_port
