#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "fakes/fake_mci.h"
#include "music/background_music.h"

namespace tolvenar {
namespace {

using testing::FakeMci;
using testing::FakeWaveSound;
using testing::MciAnswer;
using testing::MciCall;
using Calls = std::vector<MciCall>;

// A CD drive with a disc of `tracks` tracks, answering the commands of the player. Track positions
// are reported in tmsf as "tt:00:00:00".
struct FakeDrive {
  bool disc = true;
  int tracks = 12;
  int current = 1;
  bool playing = false;
  std::string current_reply_override;  // when set, the reply to "current track"
  bool mode_fails = false;

  static std::string Position(int track) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:00:00:00", track);
    return text;
  }

  MciAnswer Answer(const std::string& command) {
    if (!disc) return {kMciErrDeviceNotReady, ""};
    if (command == "status cdaudio current track") {
      return {0, current_reply_override.empty() ? std::to_string(current) : current_reply_override};
    }
    if (command == "status cdaudio number of tracks") return {0, std::to_string(tracks)};
    if (command == "status cdaudio mode") {
      if (mode_fails) return {kMciErrDeviceNotReady, ""};
      return {0, playing ? "playing" : "stopped"};
    }
    const std::string position_query = "status cdaudio position track ";
    if (command.rfind(position_query, 0) == 0) {
      const int track = std::stoi(command.substr(position_query.size()));
      if (track < 1 || track > tracks) return {kMciErrOutOfRange, ""};
      return {0, Position(track)};
    }
    if (command == "play cdaudio") {
      playing = true;
      return {0, ""};
    }
    for (int track = 1; track <= tracks; ++track) {
      if (command == "play cdaudio from " + Position(track)) {
        current = track;
        playing = true;
        return {0, ""};
      }
    }
    return {kMciErrOutOfRange, ""};
  }

  // Play moves on to the next track; after the last one the drive stops.
  void NextTrack() {
    if (current < tracks) {
      ++current;
    } else {
      playing = false;
    }
  }
};

struct CdPlayer {
  FakeDrive drive;
  FakeMci mci;
  FakeWaveSound wave;
  SettingsRecord settings;
  BackgroundMusic music{mci, wave, settings};

  explicit CdPlayer(std::int16_t repeat_track) {
    settings.MusicKind = 1;
    settings.RepeatTrack = repeat_track;
    mci.respond = [this](const std::string& command) { return drive.Answer(command); };
    mci.error_texts[kMciErrDeviceNotReady] = "The device is not ready.";
    mci.error_texts[kMciErrOutOfRange] = "The specified parameter is out of range.";
  }
  // One watcher tick; returns the commands it sent.
  Calls Tick() {
    mci.calls.clear();
    music.WatchCdAudio();
    return mci.calls;
  }
};

const MciCall kCurrent{"status cdaudio current track", 512};
const MciCall kCount{"status cdaudio number of tracks", 512};
const MciCall kMode{"status cdaudio mode", 255};
const MciCall kPlay{"play cdaudio", 512};
const MciCall kPosition3{"status cdaudio position track 3", 512};
const MciCall kPlayFrom3{"play cdaudio from 03:00:00:00", 512};

TEST(OpenAndCloseCdAudio, CommandsWithoutReplyBuffers) {
  CdPlayer p(0);
  p.music.OpenCdAudio();
  p.music.CloseCdAudio();
  EXPECT_EQ(p.mci.calls, (Calls{{"open cdaudio", 0},
                                {"set cdaudio time format tmsf", 0},
                                {"stop cdaudio", 0},
                                {"close cdaudio", 0}}));
  EXPECT_TRUE(p.drive.disc);
}

TEST(WatchCdAudio, NoDiscEndsTheWatchingOnTheFirstTick) {
  CdPlayer p(0);
  p.drive.disc = false;
  bool ok_during_tick = false;
  p.mci.respond = [&](const std::string& command) {
    ok_during_tick = p.music.CdAudioOk();
    return p.drive.Answer(command);
  };
  EXPECT_EQ(p.Tick(), (Calls{kCurrent}));
  EXPECT_TRUE(ok_during_tick) << "the flag is raised at the start of every tick";
  EXPECT_FALSE(p.music.CdAudioOk());
  EXPECT_EQ(p.music.MciResultText(), "The device is not ready.");
}

TEST(WatchCdAudio, RepeatZeroStartsAFreshDiscAndLetsItPlayOn) {
  CdPlayer p(0);
  EXPECT_EQ(p.Tick(), (Calls{kCurrent, kCount, kMode, kPlay})) << "tick 1: drive stopped";
  EXPECT_TRUE(p.music.CdAudioOk());
  EXPECT_EQ(p.Tick(), (Calls{kCurrent, kCount, kMode})) << "tick 2: playing";
  for (int track = 2; track <= 12; ++track) {
    p.drive.NextTrack();
    EXPECT_EQ(p.Tick(), (Calls{kCurrent, kCount, kMode})) << "track " << track;
  }
  p.drive.NextTrack();  // the end of the disc
  EXPECT_EQ(p.Tick(), (Calls{kCurrent, kCount, kMode, kPlay})) << "after the last track";
  EXPECT_TRUE(p.music.CdAudioOk());
}

TEST(WatchCdAudio, RepeatThreeReturnsToTrackThreeWhenPlayMovesOn) {
  CdPlayer p(3);
  EXPECT_EQ(p.Tick(), (Calls{kCurrent, kCount, kMode, kPosition3, kPlayFrom3}))
      << "tick 1: stopped at track 1";
  EXPECT_EQ(p.drive.current, 3);
  EXPECT_EQ(p.Tick(), (Calls{kCurrent, kCount, kMode})) << "track 3 playing";
  p.drive.NextTrack();
  EXPECT_EQ(p.Tick(), (Calls{kCurrent, kCount, kMode, kPosition3, kPlayFrom3})) << "track 4 began";
  EXPECT_EQ(p.drive.current, 3);
  EXPECT_TRUE(p.drive.playing);
  EXPECT_TRUE(p.music.CdAudioOk());
}

TEST(WatchCdAudio, RepeatThreeRestartsWhenStoppedOnTrackThree) {
  CdPlayer p(3);
  p.drive.current = 3;
  EXPECT_EQ(p.Tick(), (Calls{kCurrent, kCount, kMode, kPosition3, kPlayFrom3}));
}

TEST(WatchCdAudio, RepeatBeyondTheDiscSendsAFailingPlayEveryTick) {
  CdPlayer p(30);
  const Calls expected = {kCurrent,
                          kCount,
                          kMode,
                          {"status cdaudio position track 30", 512},
                          {"play cdaudio from Error:282", 512}};
  for (int tick = 1; tick <= 3; ++tick) {
    EXPECT_EQ(p.Tick(), expected) << "tick " << tick;
    EXPECT_TRUE(p.music.CdAudioOk()) << "tick " << tick;
    EXPECT_FALSE(p.drive.playing);
  }
}

TEST(WatchCdAudio, DiscRemovedLaterEndsTheWatchingOnTheNextTick) {
  CdPlayer p(3);
  p.Tick();
  p.Tick();
  EXPECT_TRUE(p.music.CdAudioOk());
  p.drive.disc = false;
  EXPECT_EQ(p.Tick(), (Calls{kCurrent}));
  EXPECT_FALSE(p.music.CdAudioOk());
  EXPECT_EQ(p.Tick(), (Calls{kCurrent})) << "a later tick starts over and fails again";
  EXPECT_FALSE(p.music.CdAudioOk());
}

TEST(WatchCdAudio, FailingTrackCountEndsTheWatching) {
  CdPlayer p(0);
  p.mci.respond = [&](const std::string& command) -> MciAnswer {
    if (command == "status cdaudio number of tracks") return {kMciErrDeviceNotReady, ""};
    return p.drive.Answer(command);
  };
  EXPECT_EQ(p.Tick(), (Calls{kCurrent, kCount}));
  EXPECT_FALSE(p.music.CdAudioOk());
}

TEST(WatchCdAudio, CurrentTrackThatIsNotANumber) {
  struct Case {
    const char* what;
    std::int16_t repeat_track;
    std::string current;
    bool playing;
    bool expected_ok;
    Calls expected;
  } cases[] = {
      {"repeat 3, stopped: no play, both conditions are evaluated",
       3,
       "x",
       false,
       false,
       {kCurrent, kCount, kMode}},
      {"repeat 3, playing", 3, "tt", true, false, {kCurrent, kCount, kMode}},
      {"repeat 3, reply with blanks is a number", 3, " 3 ", true, true, {kCurrent, kCount, kMode}},
      {"repeat 3, 4.0 differs",
       3,
       "4.0",
       true,
       true,
       {kCurrent, kCount, kMode, kPosition3, kPlayFrom3}},
      {"repeat 0 never reads it as a number",
       0,
       "x",
       false,
       true,
       {kCurrent, kCount, kMode, kPlay}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CdPlayer p(c.repeat_track);
    p.drive.current_reply_override = c.current;
    p.drive.playing = c.playing;
    EXPECT_EQ(p.Tick(), c.expected);
    EXPECT_EQ(p.music.CdAudioOk(), c.expected_ok);
  }
}

TEST(WatchCdAudio, ReplyContainingErrInAnyCaseEndsTheWatching) {
  CdPlayer p(0);
  p.drive.current_reply_override = "error";
  EXPECT_EQ(p.Tick(), (Calls{kCurrent}));
  EXPECT_FALSE(p.music.CdAudioOk());
}

TEST(WatchCdAudio, AFailedModeQueryNeverCountsAsStopped) {
  CdPlayer p(0);
  EXPECT_EQ(p.Tick(), (Calls{kCurrent, kCount, kMode, kPlay})) << "the buffer now says stopped";
  p.drive.playing = false;
  p.drive.mode_fails = true;
  EXPECT_EQ(p.Tick(), (Calls{kCurrent, kCount, kMode})) << "the earlier reply must not count";
  EXPECT_TRUE(p.music.CdAudioOk());
  p.drive.mode_fails = false;
  EXPECT_EQ(p.Tick(), (Calls{kCurrent, kCount, kMode, kPlay}));
}

TEST(WatchCdAudio, ModeReplyIsJudgedByItsFirstSevenCharacters) {
  struct Case {
    const char* mode;
    bool plays;
  } cases[] = {{"stopped", true}, {"stopped at end", true}, {"Stopped", false},
               {"stop", false},   {"paused", false},        {"not ready", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    CdPlayer p(0);
    p.mci.respond = [&](const std::string& command) -> MciAnswer {
      if (command == "status cdaudio mode") return {0, c.mode};
      return p.drive.Answer(command);
    };
    const Calls calls = p.Tick();
    EXPECT_EQ(calls.size(), c.plays ? 4u : 3u);
  }
}

}  // namespace
}  // namespace tolvenar
