// The CD player on GStreamer in a process of its own, against a fake drive that GStreamer loads
// from the plug-in path: nothing has made a CD source before the player opens the disc, as in a
// user's process. The disc's tracks last two seconds; the sound goes into nothing at a sound card's
// pace.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <thread>

#include "music/background_music.h"
#include "music/linux/media_backend_linux.h"
#include "music/linux/wave_sound_linux.h"
#include "music/emulation/mci_emulator.h"

namespace tolvenar::linux_port {
namespace {

TEST(CdLinuxTest, TheFirstDiscOfAFreshProcessPlaysAsTheWatcherAsks) {
  setenv("TOLVENAR_AUDIO_SINK", "fakesink sync=true", 1);
  ASSERT_EQ(gst_format_get_by_nick("track"), GST_FORMAT_UNDEFINED) << "a CD source made already";
  GstMediaBackend backend;
  MciEmulator mci(backend);
  GstWaveSound wave;
  SettingsRecord settings;
  settings.MusicKind = 1;
  BackgroundMusic music(mci, wave, settings);
  const auto status = [&mci](const char* what) {
    return mci.SendCommand(std::string("status cdaudio ") + what, 512).text;
  };

  // Across the end of a track: the repeated one starts again, else the disc plays on.
  const struct {
    int repeat_track;
    const char* track_after_three_seconds;
  } cases[] = {{3, "3"}, {0, "2"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.repeat_track);
    settings.RepeatTrack = c.repeat_track;
    music.OpenCdAudio();
    EXPECT_EQ(status("number of tracks"), "12");
    for (int tick = 0; tick < 15; ++tick) {
      music.WatchCdAudio();
      ASSERT_TRUE(music.CdAudioOk()) << "tick " << tick;
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    music.WatchCdAudio();
    EXPECT_EQ(status("mode"), "playing");
    EXPECT_EQ(status("current track"), c.track_after_three_seconds);
    music.CloseCdAudio();
  }
}

}  // namespace
}  // namespace tolvenar::linux_port
