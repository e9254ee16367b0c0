// A GStreamer plug-in with a CD drive that always holds a disc of 12 two-second audio tracks, each
// a quiet tone. It takes "cdda://" ahead of the real drive's source and is loaded from the plug-in
// path like any other, so a test process meets the CD source's class exactly when a user's does:
// the first time a pipeline makes one.
// GST_PLUGIN_DEFINE names the plug-in's package with this.
#define PACKAGE "tolvenar"
#include <gst/audio/gstaudiocdsrc.h>
#include <gst/gst.h>

#include <cmath>
#include <cstdint>

namespace {

constexpr guint kTracks = 12;
constexpr guint kSectorsPerTrack = 2 * 75;  // a CD has 75 sectors a second
constexpr gsize kSectorBytes = 2352;        // 588 stereo 16-bit samples

struct FakeCdDrive {
  GstAudioCdSrc parent;
};
struct FakeCdDriveClass {
  GstAudioCdSrcClass parent_class;
};

G_DEFINE_TYPE(FakeCdDrive, fake_cd_drive, GST_TYPE_AUDIO_CD_SRC)

gboolean OpenDisc(GstAudioCdSrc* source, const gchar*) {
  for (guint i = 0; i < kTracks; ++i) {
    GstAudioCdSrcTrack track{};
    track.is_audio = TRUE;
    track.num = i + 1;
    track.start = i * kSectorsPerTrack;
    track.end = track.start + kSectorsPerTrack - 1;
    gst_audio_cd_src_add_track(source, &track);
  }
  return TRUE;
}

void CloseDisc(GstAudioCdSrc*) {}

// A 441 Hz tone: a sector holds exactly 588 samples, so every sector is the same.
GstBuffer* ReadSector(GstAudioCdSrc*, gint) {
  GstBuffer* buffer = gst_buffer_new_allocate(nullptr, kSectorBytes, nullptr);
  GstMapInfo map;
  gst_buffer_map(buffer, &map, GST_MAP_WRITE);
  auto* samples = reinterpret_cast<std::int16_t*>(map.data);
  for (gsize i = 0; i < kSectorBytes / 4; ++i) {
    const auto value = static_cast<std::int16_t>(8000 * std::sin(2 * G_PI * 441.0 * i / 44100));
    samples[2 * i] = value;
    samples[2 * i + 1] = value;
  }
  gst_buffer_unmap(buffer, &map);
  return buffer;
}

void fake_cd_drive_class_init(FakeCdDriveClass* klass) {
  GstAudioCdSrcClass* cd_class = GST_AUDIO_CD_SRC_CLASS(klass);
  cd_class->open = OpenDisc;
  cd_class->close = CloseDisc;
  cd_class->read_sector = ReadSector;
  gst_element_class_set_static_metadata(GST_ELEMENT_CLASS(klass), "Fake CD drive", "Source/File",
                                        "A disc of 12 tones for tests", "Tolvenar developers");
}

void fake_cd_drive_init(FakeCdDrive*) {}

gboolean PluginInit(GstPlugin* plugin) {
  return gst_element_register(plugin, "tolvenarfakecd", GST_RANK_PRIMARY + 10,
                              fake_cd_drive_get_type());
}

}  // namespace

GST_PLUGIN_DEFINE(GST_VERSION_MAJOR, GST_VERSION_MINOR, tolvenarfakecd,
                  "A fake CD drive for Tolvenar's tests", PluginInit, "1.0", "MIT/X11", "tolvenar",
                  "https://tolvenar.example.org/")
