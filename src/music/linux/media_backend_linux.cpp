#include "music/linux/media_backend_linux.h"

#include <utility>

namespace tolvenar::linux_port {
namespace {

// Long enough for a first plug-in registry scan; a missing or unreadable source fails at once.
constexpr int kOpenTimeoutMs = 5000;

// The CD source's "track" format: positions count tracks from 0. The CD source registers it only
// when its class is first set up, which a fresh process has not done before the first disc is
// opened; registering the same nick here first gives the same format, whichever comes first.
GstFormat TrackFormat() { return gst_format_register("track", "CD track"); }

// The CD source plays one track of a URI that names a track, and it names one always; once it has
// read the disc it takes the mode that plays on to the disc's end.
void PlayToTheEndOfTheDisc(GstElement* playbin) {
  GstOwned<GstElement> source;
  g_object_get(playbin, "source", source.put(), nullptr);
  if (!source) return;
  if (g_object_class_find_property(G_OBJECT_GET_CLASS(source.get()), "mode")) {
    gst_util_set_object_arg(G_OBJECT(source.get()), "mode", "continuous");
  }
}

// Where `track` starts on the disc played on to its end: the source measures that time from the
// first track's start (a seek in tracks would take it back there).
std::optional<gint64> TrackStart(Playbin& player, int track) {
  gint64 first = 0;
  gint64 start = 0;
  if (!gst_element_query_convert(player.element(), TrackFormat(), 0, GST_FORMAT_TIME, &first) ||
      !gst_element_query_convert(player.element(), TrackFormat(), track - 1, GST_FORMAT_TIME,
                                 &start)) {
    return std::nullopt;
  }
  return start - first;
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
  if (!Open(id, std::make_unique<Playbin>("cdda://1"))) return MediaOpenResult::kNoDrive;
  PlayToTheEndOfTheDisc(Find(id)->element());
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
  const std::optional<gint64> start = player ? TrackStart(*player, track) : std::nullopt;
  return start && player->Seek(GST_FORMAT_TIME, *start);
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
  const std::optional<int> count = TrackCount(id);
  if (!player || !count) return std::nullopt;
  // The track heard, not the one the source reads: that runs ahead by what the pipeline holds.
  // Just after a seek nothing is heard yet, and the source's track is the one sought.
  gint64 played = 0;
  if (!gst_element_query_position(player->element(), GST_FORMAT_TIME, &played)) {
    gint64 reading = 0;
    if (!gst_element_query_position(player->element(), TrackFormat(), &reading)) {
      return std::nullopt;
    }
    return static_cast<int>(reading) + 1;
  }
  int current = 1;
  for (int track = 2; track <= *count; ++track) {
    const std::optional<gint64> start = TrackStart(*player, track);
    if (!start || *start > played) break;
    current = track;
  }
  return current;
}

void GstMediaBackend::Close(int id) { players_.erase(id); }

std::vector<MediaEvent> GstMediaBackend::TakeEvents(int id) {
  Playbin* player = Find(id);
  return player ? player->TakeEvents() : std::vector<MediaEvent>();
}

}  // namespace tolvenar::linux_port
