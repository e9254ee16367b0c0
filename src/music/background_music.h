#pragma once
// The music module: the MP3 file player and the wave loop for the chosen music file, and the
// audio-CD player with its optional repeated track, all driven by command strings to the
// multimedia service.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "music/mci.h"
#include "music/music.h"
#include "music/wave_sound.h"
#include "runtime/settings_record.h"

namespace tolvenar {

// Reply buffer sizes handed to the service; each reply comes back cut to size - 1 bytes.
inline constexpr std::size_t kMp3StatusBufferSize = 30;  // "status MP3Play mode"
inline constexpr std::size_t kMciReplyBufferSize = 512;  // every command of SendMciCommand
inline constexpr std::size_t kMciErrorBufferSize = 256;  // the description of an error code
inline constexpr std::size_t kCdModeBufferSize = 255;    // "status cdaudio mode"

// The two fixed answers of SendMciCommand, in code page 932 like every other text of the module.
// コマンド文字列が指定されていません (no command string has been given)
inline constexpr std::string_view kNoCommandText =
    "\x83\x52\x83\x7D\x83\x93\x83\x68\x95\xB6\x8E\x9A\x97\xF1\x82\xAA\x8E\x77\x92\xE8\x82\xB3\x82"
    "\xEA\x82\xC4\x82\xA2\x82\xDC\x82\xB9\x82\xF1";
// Error (文字列が取れません) (error, the text cannot be obtained)
inline constexpr std::string_view kNoErrorText =
    "Error (\x95\xB6\x8E\x9A\x97\xF1\x82\xAA\x8E\xE6\x82\xEA\x82\xDC\x82\xB9\x82\xF1)";

// The open command of the file player: the path in double quotes, so that blanks pass.
std::string Mp3OpenCommand(std::string_view music_file);

class BackgroundMusic final : public Music {
 public:
  BackgroundMusic(Mci& mci, WaveSound& wave_sound, const SettingsRecord& settings)
      : mci_(mci), wave_sound_(wave_sound), settings_(settings) {}
  BackgroundMusic(const BackgroundMusic&) = delete;
  BackgroundMusic& operator=(const BackgroundMusic&) = delete;

  // Music file player.
  void PlayMusicFile() override;
  // True exactly when "status MP3Play mode" succeeds with a reply that starts with "playing".
  bool IsMusicFilePlaying();
  void RepeatMusicFile() override;
  void StopMusicFile() override;
  void PlayWaveSound() override;
  void StopWaveSound() override;

  // Sends one command with the 512-byte reply buffer. Returns 0 and the reply, or the error code
  // and its description; -1 and a fixed text, without sending anything, for an empty command.
  std::int32_t SendMciCommand(const std::string& command_text, std::string& result_text);

  // CD player.
  void OpenCdAudio() override;
  void WatchCdAudio() override;
  void CloseCdAudio() override;
  bool CdAudioOk() const override { return cd_audio_ok_; }
  // The reply of a command, or "Error:" followed by its error code in decimal.
  std::string GetMciResult(const std::string& command_text);
  // Sends "play <device>[ from <from_pos>][ to <to_pos>]", each part only when its text is not
  // empty; returns the error code.
  std::int32_t PlayMciRange(const std::string& device_name, const std::string& from_pos,
                            const std::string& to_pos);
  // The reply or error text of the last command sent by GetMciResult or PlayMciRange.
  const std::string& MciResultText() const { return mci_result_text_; }

 private:
  // Sends a command whose result nobody looks at.
  void SendIgnoringResult(const std::string& command);
  // The steps of one watcher tick; false at the first failure.
  bool WatchCdAudioSteps();

  Mci& mci_;
  WaveSound& wave_sound_;
  const SettingsRecord& settings_;

  // The module's reply buffers: each holds the text of the last reply it received.
  std::string mp3_status_;
  std::string mci_reply_;
  std::string mci_error_;
  std::string cd_mode_;
  std::string mci_result_text_;
  bool cd_audio_ok_ = false;
};

}  // namespace tolvenar
