#pragma once
// The music of one of several savers the user runs at once (one per monitor): only the holder of
// the music lock plays. A saver that asked for music without getting the lock tries again on its
// timer and starts the music it was asked for as soon as the holder has ended, so a host that
// ends one saver and starts the next at once (a cycle, a restart) loses no music.
#include <cstdint>

#include "music/music.h"
#include "runtime/exclusive_lock.h"

namespace tolvenar {

// How often a saver without the lock tries again: the music resumes within a second.
inline constexpr std::uint32_t kMusicLockRetryIntervalMs = 500;

class SharedMusic final : public Music {
 public:
  SharedMusic(Music& music, ExclusiveLock& lock) : music_(music), lock_(lock) {}

  void PlayMusicFile() override { Start(Kind::kFile); }
  void RepeatMusicFile() override;
  void StopMusicFile() override { Stop(Kind::kFile); }
  void PlayWaveSound() override { Start(Kind::kWave); }
  void StopWaveSound() override { Stop(Kind::kWave); }
  void OpenCdAudio() override { Start(Kind::kCd); }
  void WatchCdAudio() override;
  void CloseCdAudio() override { Stop(Kind::kCd); }
  // Healthy while the CD waits for the lock, so that its watcher keeps running.
  bool CdAudioOk() const override;

  // One tick of the retry timer: takes the lock when it has become free and starts the music
  // asked for meanwhile.
  void TryAgain();

 private:
  enum class Kind { kNone, kFile, kWave, kCd };
  void Start(Kind kind);
  void Stop(Kind kind);
  void StartWanted();

  Music& music_;
  ExclusiveLock& lock_;
  Kind wanted_ = Kind::kNone;
  bool started_ = false;
};

}  // namespace tolvenar
