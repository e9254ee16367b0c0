#include "runtime/win32/wave_sound_win32.h"

#include <windows.h>

#include <mmsystem.h>

namespace tolvenar::win32 {

// Flags 9: asynchronous and looped, the name left for the player to resolve as it does by default.
static_assert((SND_ASYNC | SND_LOOP) == 9);

std::uint32_t Win32WaveSound::OutputDeviceCount() { return waveOutGetNumDevs(); }

bool Win32WaveSound::PlayLooping(const std::string& path) {
  return PlaySoundA(path.c_str(), nullptr, SND_ASYNC | SND_LOOP) != FALSE;
}

bool Win32WaveSound::StopPlaying() { return PlaySoundA(nullptr, nullptr, 0) != FALSE; }

}  // namespace tolvenar::win32
