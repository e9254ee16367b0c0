#include "music/shared_music.h"

namespace tolvenar {

void SharedMusic::Start(Kind kind) {
  wanted_ = kind;
  started_ = false;
  if (lock_.TryTake()) StartWanted();
}

void SharedMusic::Stop(Kind kind) {
  if (wanted_ != kind) return;
  if (started_) {
    if (kind == Kind::kFile) music_.StopMusicFile();
    if (kind == Kind::kWave) music_.StopWaveSound();
    if (kind == Kind::kCd) music_.CloseCdAudio();
  }
  wanted_ = Kind::kNone;
  started_ = false;
}

void SharedMusic::StartWanted() {
  started_ = true;
  if (wanted_ == Kind::kFile) music_.PlayMusicFile();
  if (wanted_ == Kind::kWave) music_.PlayWaveSound();
  if (wanted_ == Kind::kCd) music_.OpenCdAudio();
}

void SharedMusic::TryAgain() {
  if (wanted_ == Kind::kNone || started_) return;
  if (lock_.TryTake()) StartWanted();
}

void SharedMusic::RepeatMusicFile() {
  if (wanted_ == Kind::kFile && started_) music_.RepeatMusicFile();
}

void SharedMusic::WatchCdAudio() {
  if (wanted_ == Kind::kCd && started_) music_.WatchCdAudio();
}

bool SharedMusic::CdAudioOk() const {
  return wanted_ == Kind::kCd && started_ ? music_.CdAudioOk() : true;
}

}  // namespace tolvenar
