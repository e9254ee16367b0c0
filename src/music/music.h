#pragma once
// What the saver window uses of the music module: the file player, the wave loop and the CD player.
namespace tolvenar {

class Music {
 public:
  virtual ~Music() = default;
  virtual void PlayMusicFile() = 0;    // opens MusicFile as MP3Play and plays it
  virtual void RepeatMusicFile() = 0;  // restarts it from 0 when it is not playing
  virtual void StopMusicFile() = 0;
  virtual void PlayWaveSound() = 0;  // loops MusicFile with the wave-sound player
  virtual void StopWaveSound() = 0;
  virtual void OpenCdAudio() = 0;
  virtual void WatchCdAudio() = 0;  // one 200 ms tick of the CD watcher
  virtual void CloseCdAudio() = 0;
  virtual bool CdAudioOk() const = 0;  // the watcher's health flag
};

}  // namespace tolvenar
