// The music of one saver among several: only the lock's holder plays, and a saver that asked for
// music while another held the lock starts it once the lock is free.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "fakes/fake_lock.h"
#include "fakes/fake_music.h"
#include "music/shared_music.h"

namespace tolvenar::testing {
namespace {

struct SharedMusicTest : ::testing::Test {
  CallLog log;
  FakeMusic music{log};
  FakeLock lock;
  SharedMusic shared{music, lock};
};

TEST_F(SharedMusicTest, TheHoldersMusicPlaysAndStopsAsAsked) {
  lock.free = true;
  shared.PlayMusicFile();
  shared.RepeatMusicFile();
  shared.StopMusicFile();
  shared.PlayWaveSound();
  shared.StopWaveSound();
  shared.OpenCdAudio();
  shared.WatchCdAudio();
  music.cd_audio_ok = false;
  EXPECT_FALSE(shared.CdAudioOk());
  shared.CloseCdAudio();
  EXPECT_EQ(log, (CallLog{"PlayMusicFile", "RepeatMusicFile", "StopMusicFile", "PlayWaveSound",
                          "StopWaveSound", "OpenCdAudio", "WatchCdAudio", "CloseCdAudio"}));
}

// Each kind, asked for while another saver holds the lock: silent, its timers' calls go nowhere,
// and the retry that finds the lock free starts it; the stop then reaches the player.
TEST_F(SharedMusicTest, MusicAskedForMeanwhileStartsWhenTheLockIsFree) {
  const struct {
    const char* kind;
    std::function<void(Music&)> start, tick, stop;
    CallLog after_lock_is_free;
  } cases[] = {
      {"file",
       &Music::PlayMusicFile,
       &Music::RepeatMusicFile,
       &Music::StopMusicFile,
       {"PlayMusicFile", "RepeatMusicFile", "StopMusicFile"}},
      {"wave",
       &Music::PlayWaveSound,
       [](Music&) {},
       &Music::StopWaveSound,
       {"PlayWaveSound", "StopWaveSound"}},
      {"CD",
       &Music::OpenCdAudio,
       &Music::WatchCdAudio,
       &Music::CloseCdAudio,
       {"OpenCdAudio", "WatchCdAudio", "CloseCdAudio"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    log.clear();
    lock = FakeLock();
    SharedMusic waiting(music, lock);
    c.start(waiting);
    c.tick(waiting);
    waiting.TryAgain();
    EXPECT_TRUE(waiting.CdAudioOk()) << "the CD watcher keeps waiting";
    EXPECT_EQ(log, CallLog{}) << "silent while another saver plays";
    lock.free = true;
    waiting.TryAgain();
    waiting.TryAgain();  // started once only
    c.tick(waiting);
    c.stop(waiting);
    EXPECT_EQ(log, c.after_lock_is_free);
  }
}

TEST_F(SharedMusicTest, MusicStoppedBeforeTheLockWasFreeNeverStarts) {
  shared.PlayMusicFile();
  shared.StopMusicFile();
  shared.OpenCdAudio();
  shared.StopWaveSound();  // another kind's stop leaves the CD waiting
  shared.CloseCdAudio();
  lock.free = true;
  shared.TryAgain();
  EXPECT_EQ(log, CallLog{});
  EXPECT_FALSE(lock.held) << "a saver without music leaves the lock to others";
}

}  // namespace
}  // namespace tolvenar::testing
