#include "music/emulation/mci_emulator.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "fakes/fake_mci.h"
#include "music/background_music.h"
#include "music/emulation/silent_media.h"

namespace tolvenar {
namespace {

using testing::FakeMediaBackend;
using testing::FakeWaveSound;
using Log = std::vector<std::string>;

// The files the transcripts' commands find; any other is missing.
FakeMediaBackend Backend(int cd_tracks) {
  FakeMediaBackend backend;
  backend.files = {"$MEDIA\\one_second.mp3", "$MEDIA\\with blanks\\night song.mp3",
                   "$MEDIA\\\x96\xE9\x82\xCC\x8B\xC8.mp3", "$MEDIA\\\x83\x5C\x83\x93\x83\x4F.mp3"};
  backend.cd_tracks = cd_tracks;
  return backend;
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (std::size_t tab = line.find('\t'); tab != std::string::npos; tab = line.find('\t', start)) {
    fields.push_back(line.substr(start, tab - start));
    start = tab + 1;
  }
  fields.push_back(line.substr(start));
  return fields;
}

// Each transcript line "COMMAND<TAB>ERROR<TAB>REPLY" is sent with the recorder's 512-byte buffer;
// "!end" lets whatever plays reach its end; "?CODE<TAB>TEXT" is a description of an error code.
TEST(MciEmulatorTest, AnswersAsTheTranscripts) {
  const struct {
    const char* name;
    int cd_tracks;
  } transcripts[] = {
      {"mp3.txt", 0}, {"errors.txt", 0}, {"names.txt", 0}, {"cdaudio.txt", 0}, {"cd_drive.txt", 12},
  };
  for (const auto& transcript : transcripts) {
    std::ifstream file(std::string(TOLVENAR_TRANSCRIPTS "/") + transcript.name, std::ios::binary);
    ASSERT_TRUE(file) << transcript.name;
    FakeMediaBackend backend = Backend(transcript.cd_tracks);
    MciEmulator mci(backend);
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
      SCOPED_TRACE(std::string(transcript.name) + ":" + std::to_string(number) + ": " + line);
      const std::vector<std::string> fields = Fields(line);
      if (line.empty() || line[0] == '#' || line.rfind("!errors", 0) == 0) continue;
      if (line.rfind("!end", 0) == 0) {
        backend.Finish();
      } else if (line[0] == '?') {
        ASSERT_EQ(fields.size(), 2u);
        EXPECT_EQ(mci.ErrorText(std::stoi(fields[0].substr(1)), 256), fields[1]);
      } else {
        ASSERT_EQ(fields.size(), 3u);
        const MciReply reply = mci.SendCommand(fields[0], 512);
        EXPECT_EQ(reply.error, std::stoi(fields[1]));
        EXPECT_EQ(reply.text, fields[2]);
      }
    }
  }
}

TEST(MciEmulatorTest, RepliesAndDescriptionsAreCutToTheirBuffers) {
  FakeMediaBackend backend = Backend(0);
  MciEmulator mci(backend);
  ASSERT_EQ(mci.SendCommand("open \"$MEDIA\\one_second.mp3\" type MPEGVideo Alias a", 0).error, 0);
  mci.SendCommand("play a", 0);
  const struct {
    std::size_t size;
    const char* reply;
    const char* description;
  } cases[] = {{0, "", ""}, {1, "", ""}, {5, "play", "The "}, {8, "playing", "The spe"}};
  for (const auto& c : cases) {
    SCOPED_TRACE("buffer of " + std::to_string(c.size));
    EXPECT_EQ(mci.SendCommand("status a mode", c.size).text, c.reply);
    EXPECT_EQ(mci.ErrorText(kMciErrInvalidDeviceName, c.size), c.description);
  }
  EXPECT_EQ(mci.ErrorText(0, 256), std::nullopt);
  EXPECT_EQ(mci.ErrorText(283, 256), std::nullopt);
}

// The music module on the emulator: what reaches the players.
struct Player {
  FakeMediaBackend backend = Backend(12);
  MciEmulator mci{backend};
  FakeWaveSound wave;
  SettingsRecord settings;
  BackgroundMusic music{mci, wave, settings};
};

TEST(MciEmulatorTest, EndedFileIsPlayedAgainFromItsStart) {
  Player player;
  player.settings.MusicFile = "$MEDIA\\one_second.mp3";
  player.music.PlayMusicFile();
  player.music.RepeatMusicFile();
  EXPECT_EQ(player.backend.log, (Log{"OpenFile 1 $MEDIA\\one_second.mp3", "Play 1"}));
  player.backend.Finish();
  player.backend.log.clear();
  player.music.RepeatMusicFile();
  EXPECT_EQ(player.backend.log, (Log{"Hold 1", "SeekTo 0 1", "Play 1"}));
  EXPECT_TRUE(player.music.IsMusicFilePlaying());
  player.music.StopMusicFile();
  EXPECT_EQ(player.backend.log.back(), "Close 1");
}

TEST(MciEmulatorTest, CdWatcherHoldsTheRepeatedTrack) {
  Player player;
  player.settings.RepeatTrack = 3;
  player.music.OpenCdAudio();
  player.music.WatchCdAudio();
  EXPECT_TRUE(player.music.CdAudioOk());
  EXPECT_EQ(player.backend.log, (Log{"OpenCd 1", "SeekToTrack 3 1", "Play 1"}));
  player.backend.Finish();
  player.backend.log.clear();
  player.music.WatchCdAudio();
  EXPECT_EQ(player.backend.log, (Log{"SeekToTrack 3 1", "Play 1"}));
  player.music.CloseCdAudio();
  EXPECT_EQ(player.backend.log.back(), "Close 1");
}

TEST(MciEmulatorTest, SilentPlayersFailEveryOpenAsWithoutSound) {
  SilentMediaBackend backend;
  MciEmulator mci(backend);
  EXPECT_EQ(mci.SendCommand("open \"a.mp3\" type MPEGVideo Alias MP3Play", 0).error,
            kMciErrInternal);
  EXPECT_EQ(mci.SendCommand("status cdaudio current track", 512).error, kMciErrCannotLoadDriver);
}

}  // namespace
}  // namespace tolvenar
