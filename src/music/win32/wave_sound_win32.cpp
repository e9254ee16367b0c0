#include "music/win32/wave_sound_win32.h"

#include <windows.h>

#include <mmsystem.h>

#include "runtime/win32/system_function.h"

namespace tolvenar::win32 {

// Flags 9: asynchronous and looped, the name left for the player to resolve as it does by default.
static_assert((SND_ASYNC | SND_LOOP) == 9);

namespace {

decltype(&PlaySoundA) PlaySoundFunction() {
  static const auto play_sound = SystemFunction<decltype(&PlaySoundA)>("winmm.dll", "PlaySoundA");
  return play_sound;
}

}  // namespace

std::uint32_t Win32WaveSound::OutputDeviceCount() {
  static const auto device_count =
      SystemFunction<decltype(&waveOutGetNumDevs)>("winmm.dll", "waveOutGetNumDevs");
  return device_count ? device_count() : 0;
}

bool Win32WaveSound::PlayLooping(const std::string& path) {
  const auto play_sound = PlaySoundFunction();
  return play_sound && play_sound(path.c_str(), nullptr, SND_ASYNC | SND_LOOP) != FALSE;
}

bool Win32WaveSound::StopPlaying() {
  const auto play_sound = PlaySoundFunction();
  return play_sound && play_sound(nullptr, nullptr, 0) != FALSE;
}

}  // namespace tolvenar::win32
