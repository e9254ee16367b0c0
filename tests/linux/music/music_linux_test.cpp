// The music module on GStreamer with sinks that play into nothing or into a file, paced like a
// sound card (sync=true), and sound files made at build time.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include "music/background_music.h"
#include "music/linux/media_backend_linux.h"
#include "music/linux/wave_sound_linux.h"
#include "music/emulation/mci_emulator.h"
#include "runtime/linux/system_path.h"
#include "runtime/linux/text_cp932.h"

namespace tolvenar::linux_port {
namespace {

using Clock = std::chrono::steady_clock;
const std::string kFolder = TOLVENAR_TEST_AUDIO;
const std::string kJapaneseMp3 = kFolder + "/\xE5\xA4\x9C\xE3\x81\xAE\xE6\x9B\xB2.mp3";  // 夜の曲

long long MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

bool WaitUntil(const std::function<bool()>& done, int timeout_ms) {
  const Clock::time_point start = Clock::now();
  while (!done()) {
    if (MillisecondsSince(start) > timeout_ms) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

class MusicLinuxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TOLVENAR_AUDIO_SINK", "fakesink sync=true", 1);
    std::filesystem::copy_file(kFolder + "/half_second.mp3", kJapaneseMp3,
                               std::filesystem::copy_options::overwrite_existing);
    std::ofstream(kFolder + "/notes.mp3") << "just some text, not sound\n";
  }
  std::int32_t Open(const std::string& path) {
    return mci.SendCommand(Mp3OpenCommand(path), 0).error;
  }

  GstMediaBackend backend;
  MciEmulator mci{backend};
  GstWaveSound wave;
  SettingsRecord settings;
  BackgroundMusic music{mci, wave, settings};
};

// The last as the settings store it: "\" between folders, as the Windows build has it.
TEST_F(MusicLinuxTest, Mp3EndsAndIsPlayedAgainFromItsStart) {
  for (const std::string& path :
       {kFolder + "/half_second.mp3", *Utf8ToCp932(kJapaneseMp3), CorePath(kJapaneseMp3)}) {
    SCOPED_TRACE(path);
    settings.MusicFile = path;
    Clock::time_point start = Clock::now();
    music.PlayMusicFile();
    EXPECT_TRUE(music.IsMusicFilePlaying());
    ASSERT_TRUE(WaitUntil([&] { return !music.IsMusicFilePlaying(); }, 5000)) << "never ended";
    EXPECT_GE(MillisecondsSince(start), 400) << "played in real time";
    music.RepeatMusicFile();
    EXPECT_TRUE(music.IsMusicFilePlaying());
    start = Clock::now();
    ASSERT_TRUE(WaitUntil([&] { return !music.IsMusicFilePlaying(); }, 5000)) << "no second end";
    EXPECT_GE(MillisecondsSince(start), 400) << "the second time from the start";
    music.StopMusicFile();
  }
}

// Each fails the open at once with the code the Windows build's service gives.
TEST_F(MusicLinuxTest, WhatCannotBePlayedFailsTheOpenAtOnce) {
  const struct {
    const char* what;
    std::string command;
    std::int32_t error;
  } cases[] = {
      {"missing file", Mp3OpenCommand(kFolder + "/missing.mp3"), kMciErrInternal},
      {"not sound", Mp3OpenCommand(kFolder + "/notes.mp3"), kMciErrInternal},
      {"a folder", Mp3OpenCommand(kFolder), kMciErrInternal},
      {"a Windows path", Mp3OpenCommand("C:\\Music\\a.mp3"), kMciErrInternal},
      {"no CD drive", "open cdaudio", kMciErrCannotLoadDriver},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(mci.SendCommand(c.command, 0).error, c.error);
    EXPECT_LT(MillisecondsSince(start), 2000);
  }
  music.OpenCdAudio();
  music.WatchCdAudio();
  EXPECT_FALSE(music.CdAudioOk());
}

std::uintmax_t FileSize(const std::string& path) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  return error ? 0 : size;
}

TEST_F(MusicLinuxTest, WaveLoopsUntilStopped) {
  const std::string capture = kFolder + "/capture.raw";
  std::filesystem::remove(capture);
  // Raw 16-bit stereo at 44100 Hz into a file, at the pace of the timestamps.
  const std::string sink =
      "audioconvert ! audio/x-raw,format=S16LE,rate=44100,channels=2 ! filesink sync=true "
      "location=";
  setenv("TOLVENAR_AUDIO_SINK", (sink + capture).c_str(), 1);
  EXPECT_EQ(wave.OutputDeviceCount(), 1u);
  const Clock::time_point start = Clock::now();
  ASSERT_TRUE(wave.PlayLooping(kFolder + "/short_tone.wav"));
  EXPECT_LT(MillisecondsSince(start), 500) << "returns at once";
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  EXPECT_TRUE(wave.StopPlaying());
  // More than three times the 0.3-s file got through.
  const double seconds = static_cast<double>(FileSize(capture)) / (44100 * 4);
  EXPECT_GT(seconds, 1.0);
  EXPECT_LT(seconds, 1.8) << "paced like a sound card";
  const std::uintmax_t stopped = FileSize(capture);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(FileSize(capture), stopped) << "silent once stopped";
}

TEST_F(MusicLinuxTest, WavePlayerPlaysWaveFilesOnly) {
  EXPECT_FALSE(wave.PlayLooping(kFolder + "/missing.wav"));
  EXPECT_FALSE(wave.PlayLooping(kFolder + "/half_second.mp3"));
  EXPECT_FALSE(wave.PlayLooping(kFolder + "/notes.mp3"));
  EXPECT_TRUE(wave.PlayLooping(CorePath(kFolder + "/short_tone.wav")))
      << "as the settings store it";
  EXPECT_TRUE(wave.StopPlaying());
  setenv("TOLVENAR_AUDIO_SINK", "no_such_element", 1);
  EXPECT_EQ(wave.OutputDeviceCount(), 0u);
  EXPECT_EQ(Open(kFolder + "/half_second.mp3"), kMciErrInternal) << "no sink, no sound";
}

}  // namespace
}  // namespace tolvenar::linux_port
