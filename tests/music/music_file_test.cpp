#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_mci.h"
#include "fakes/shift_jis.h"
#include "music/background_music.h"

namespace tolvenar {
namespace {

using testing::FakeMci;
using testing::FakeWaveSound;
using testing::MciAnswer;
using testing::MciCall;
using testing::ShiftJis;
using Calls = std::vector<MciCall>;

constexpr char kOpenNight[] = "open \"C:\\My Music\\night song.mp3\" type MPEGVideo Alias MP3Play";

struct Player {
  FakeMci mci;
  FakeWaveSound wave;
  SettingsRecord settings;
  BackgroundMusic music{mci, wave, settings};
  Player() { settings.MusicFile = "C:\\My Music\\night song.mp3"; }
};

TEST(MusicTexts, FixedTextsAreTheCodePage932BytesOfTheJapanese) {
  EXPECT_EQ(kNoCommandText, ShiftJis("コマンド文字列が指定されていません"));
  EXPECT_EQ(kNoErrorText, ShiftJis("Error (文字列が取れません)"));
}

TEST(PlayMusicFile, OpensTheQuotedPathThenPlaysOnlyWhenTheOpenSucceeds) {
  struct Case {
    const char* what;
    std::int32_t open_error;
    Calls expected;
  } cases[] = {
      {"open succeeds", 0, {{kOpenNight, 0}, {"play MP3Play", 0}}},
      {"file not found", kMciErrFileNotFound, {{kOpenNight, 0}}},
      {"no MPEGVideo driver", kMciErrCannotLoadDriver, {{kOpenNight, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Player p;
    p.mci.answers[kOpenNight] = {c.open_error, ""};
    p.music.PlayMusicFile();
    EXPECT_EQ(p.mci.calls, c.expected);
    EXPECT_TRUE(p.mci.error_text_calls.empty());
  }
}

TEST(PlayMusicFile, PathsGoIntoTheCommandByteForByte) {
  struct Case {
    const char* what;
    std::string path;
    std::string expected;
  } cases[] = {
      {"empty", "", "open \"\" type MPEGVideo Alias MP3Play"},
      {"mixed case ending", "D:\\a.Mp3", "open \"D:\\a.Mp3\" type MPEGVideo Alias MP3Play"},
      {"Japanese (code page 932)", "C:\\\x96\xE9\x82\xCC\x8B\xC8.mp3",
       "open \"C:\\\x96\xE9\x82\xCC\x8B\xC8.mp3\" type MPEGVideo Alias MP3Play"},
      {"300 characters", "C:\\" + std::string(296, 'a') + ".mp3",
       "open \"C:\\" + std::string(296, 'a') + ".mp3\" type MPEGVideo Alias MP3Play"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Mp3OpenCommand(c.path), c.expected);
  }
}

TEST(IsMusicFilePlaying, OnlyASuccessfulPlayingReplyCounts) {
  struct Case {
    const char* what;
    MciAnswer answer;
    bool expected;
  } cases[] = {
      {"playing", {0, "playing"}, true},
      {"longer reply starting with playing", {0, "playing forward"}, true},
      {"stopped", {0, "stopped"}, false},
      {"paused", {0, "paused"}, false},
      {"not ready", {0, "not ready"}, false},
      {"seeking", {0, "seeking"}, false},
      {"empty reply", {0, ""}, false},
      {"upper case", {0, "PLAYING"}, false},
      {"alias not open", {kMciErrInvalidDeviceId, ""}, false},
      {"failure with a reply text", {kMciErrDeviceNotReady, "playing"}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Player p;
    p.mci.answers["status MP3Play mode"] = c.answer;
    EXPECT_EQ(p.music.IsMusicFilePlaying(), c.expected);
    EXPECT_EQ(p.mci.calls, (Calls{{"status MP3Play mode", 30}}));
  }
}

TEST(IsMusicFilePlaying, AnEarlierPlayingReplyDoesNotOutliveAFailure) {
  Player p;
  p.mci.answers["status MP3Play mode"] = {0, "playing"};
  EXPECT_TRUE(p.music.IsMusicFilePlaying());
  p.mci.answers["status MP3Play mode"] = {kMciErrInvalidDeviceId, ""};
  EXPECT_FALSE(p.music.IsMusicFilePlaying());
  p.mci.answers["status MP3Play mode"] = {0, "playing"};
  EXPECT_TRUE(p.music.IsMusicFilePlaying());
}

TEST(RepeatMusicFile, RestartsFromZeroWheneverTheFileIsNotPlaying) {
  const Calls restart = {
      {"status MP3Play mode", 30}, {"stop MP3Play", 0}, {"play MP3Play from 0", 0}};
  struct Case {
    const char* what;
    MciAnswer status;
    Calls expected;
  } cases[] = {
      {"playing", {0, "playing"}, {{"status MP3Play mode", 30}}},
      {"stopped at its end", {0, "stopped"}, restart},
      {"paused from outside", {0, "paused"}, restart},
      {"status fails (never opened)", {kMciErrInvalidDeviceId, ""}, restart},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Player p;
    p.mci.answers["status MP3Play mode"] = c.status;
    p.mci.unknown_error = kMciErrInvalidDeviceId;  // stop and play fail quietly when not open
    p.music.RepeatMusicFile();
    EXPECT_EQ(p.mci.calls, c.expected);
  }
}

TEST(RepeatMusicFile, AFailureAfterPlayingRestarts) {
  Player p;
  p.mci.answers["status MP3Play mode"] = {0, "playing"};
  p.music.RepeatMusicFile();
  p.mci.answers["status MP3Play mode"] = {kMciErrDeviceNotReady, ""};
  p.music.RepeatMusicFile();
  EXPECT_EQ(p.mci.Commands(),
            (std::vector<std::string>{"status MP3Play mode", "status MP3Play mode", "stop MP3Play",
                                      "play MP3Play from 0"}));
}

TEST(StopMusicFile, StopsThenClosesWhateverTheResults) {
  Player p;
  p.mci.unknown_error = kMciErrInvalidDeviceId;
  p.music.StopMusicFile();
  EXPECT_EQ(p.mci.calls, (Calls{{"stop MP3Play", 0}, {"close MP3Play", 0}}));
}

TEST(WaveSound, LoopsTheFileOnlyWithAnOutputDevice) {
  Player p;
  p.settings.MusicFile = "C:\\My Music\\rain drops.WAV";
  p.music.PlayWaveSound();
  p.music.StopWaveSound();
  EXPECT_EQ(p.wave.log,
            (std::vector<std::string>{"OutputDeviceCount",
                                      "PlayLooping C:\\My Music\\rain drops.WAV", "StopPlaying"}));
  EXPECT_TRUE(p.mci.calls.empty());
}

TEST(WaveSound, WithoutAnOutputDeviceNothingPlaysButStopIsStillSent) {
  Player p;
  p.wave.device_count = 0;
  p.music.PlayWaveSound();
  p.music.StopWaveSound();
  EXPECT_EQ(p.wave.log, (std::vector<std::string>{"OutputDeviceCount", "StopPlaying"}));
}

TEST(SendMciCommand, RepliesErrorTextsAndTheEmptyCommand) {
  const std::string long_reply(600, 'r');
  const std::string long_description(300, 'd');
  struct Case {
    const char* what;
    std::string command;
    MciAnswer answer;
    std::map<std::int32_t, std::string> error_texts;
    std::int32_t expected_code;
    std::string expected_text;
    Calls expected_calls;
    Calls expected_error_text_calls;
  } cases[] = {
      {"empty command: nothing sent", "", {}, {}, -1, std::string(kNoCommandText), {}, {}},
      {"reply",
       "status cdaudio mode",
       {0, "stopped"},
       {},
       0,
       "stopped",
       {{"status cdaudio mode", 512}},
       {}},
      {"no reply", "play cdaudio", {0, ""}, {}, 0, "", {{"play cdaudio", 512}}, {}},
      {"reply cut to 511 bytes",
       "info x",
       {0, long_reply},
       {},
       0,
       long_reply.substr(0, 511),
       {{"info x", 512}},
       {}},
      {"error with a description",
       "open cdaudio",
       {266, ""},
       {{266, "driver missing"}},
       266,
       "driver missing",
       {{"open cdaudio", 512}},
       {{"266", 256}}},
      {"description cut to 255 bytes",
       "open cdaudio",
       {266, ""},
       {{266, long_description}},
       266,
       long_description.substr(0, 255),
       {{"open cdaudio", 512}},
       {{"266", 256}}},
      {"error without a description",
       "open cdaudio",
       {9999, "ignored"},
       {},
       9999,
       std::string(kNoErrorText),
       {{"open cdaudio", 512}},
       {{"9999", 256}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Player p;
    p.mci.answers[c.command] = c.answer;
    p.mci.error_texts = c.error_texts;
    std::string result = "sentinel";
    EXPECT_EQ(p.music.SendMciCommand(c.command, result), c.expected_code);
    EXPECT_EQ(result, c.expected_text);
    EXPECT_EQ(p.mci.calls, c.expected_calls);
    EXPECT_EQ(p.mci.error_text_calls, c.expected_error_text_calls);
  }
}

TEST(GetMciResult, ReplyOrErrorAndCode) {
  struct Case {
    const char* what;
    std::string command;
    MciAnswer answer;
    std::string expected;
    std::string expected_result_text;
  } cases[] = {
      {"reply", "status cdaudio current track", {0, "3"}, "3", "3"},
      {"error code in decimal",
       "status cdaudio current track",
       {276, ""},
       "Error:276",
       "not ready"},
      {"error without description",
       "status cdaudio mode",
       {300, ""},
       "Error:300",
       std::string(kNoErrorText)},
      {"empty command", "", {}, "Error:-1", std::string(kNoCommandText)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Player p;
    p.mci.answers[c.command] = c.answer;
    p.mci.error_texts[276] = "not ready";
    EXPECT_EQ(p.music.GetMciResult(c.command), c.expected);
    EXPECT_EQ(p.music.MciResultText(), c.expected_result_text);
  }
}

TEST(PlayMciRange, FourShapes) {
  struct Case {
    const char* from;
    const char* to;
    const char* expected;
  } cases[] = {
      {"", "", "play cdaudio"},
      {"03:00:00:00", "", "play cdaudio from 03:00:00:00"},
      {"", "05:00:00:00", "play cdaudio to 05:00:00:00"},
      {"03:00:00:00", "05:00:00:00", "play cdaudio from 03:00:00:00 to 05:00:00:00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    Player p;
    p.mci.unknown_error = kMciErrOutOfRange;
    p.mci.error_texts[kMciErrOutOfRange] = "out of range";
    EXPECT_EQ(p.music.PlayMciRange("cdaudio", c.from, c.to), kMciErrOutOfRange);
    EXPECT_EQ(p.mci.calls, (Calls{{c.expected, 512}}));
    EXPECT_EQ(p.music.MciResultText(), "out of range");
  }
}

}  // namespace
}  // namespace tolvenar
