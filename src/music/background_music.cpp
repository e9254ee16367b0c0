#include "music/background_music.h"

#include <optional>

#include "runtime/code_page_932.h"
#include "runtime/conversions.h"

namespace tolvenar {
namespace {

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// Every failure that GetMciResult reports reads "Error:<code>".
bool IsErrorText(std::string_view text) {
  return FindChars(UpperCase(text), "ERR") != std::string_view::npos;
}

}  // namespace

std::string Mp3OpenCommand(std::string_view music_file) {
  std::string command = "open \"";
  command += music_file;
  command += "\" type MPEGVideo Alias MP3Play";
  return command;
}

void BackgroundMusic::SendIgnoringResult(const std::string& command) {
  mci_.SendCommand(command, 0);
}

void BackgroundMusic::PlayMusicFile() {
  const MciReply open = mci_.SendCommand(Mp3OpenCommand(settings_.MusicFile), 0);
  if (open.error != 0) return;
  SendIgnoringResult("play MP3Play");
}

bool BackgroundMusic::IsMusicFilePlaying() {
  const MciReply status = mci_.SendCommand("status MP3Play mode", kMp3StatusBufferSize);
  // After a failure the buffer still holds an earlier reply, which says nothing about now.
  if (status.error != 0) return false;
  mp3_status_ = status.text;
  return StartsWith(mp3_status_, "playing");
}

void BackgroundMusic::RepeatMusicFile() {
  if (IsMusicFilePlaying()) return;
  // Stopped at the end, paused from outside, or not open at all: the last case fails quietly.
  SendIgnoringResult("stop MP3Play");
  SendIgnoringResult("play MP3Play from 0");
}

void BackgroundMusic::StopMusicFile() {
  SendIgnoringResult("stop MP3Play");
  SendIgnoringResult("close MP3Play");
}

void BackgroundMusic::PlayWaveSound() {
  if (wave_sound_.OutputDeviceCount() == 0) return;
  wave_sound_.PlayLooping(settings_.MusicFile);
}

void BackgroundMusic::StopWaveSound() { wave_sound_.StopPlaying(); }

std::int32_t BackgroundMusic::SendMciCommand(const std::string& command_text,
                                             std::string& result_text) {
  if (command_text.empty()) {
    result_text = kNoCommandText;
    return -1;
  }
  const MciReply reply = mci_.SendCommand(command_text, kMciReplyBufferSize);
  if (reply.error != 0) {
    const std::optional<std::string> description = mci_.ErrorText(reply.error, kMciErrorBufferSize);
    if (description) {
      mci_error_ = *description;
      result_text = mci_error_;
    } else {
      result_text = kNoErrorText;
    }
    return reply.error;
  }
  mci_reply_ = reply.text;
  result_text = mci_reply_;
  return 0;
}

void BackgroundMusic::OpenCdAudio() {
  SendIgnoringResult("open cdaudio");
  SendIgnoringResult("set cdaudio time format tmsf");
}

std::string BackgroundMusic::GetMciResult(const std::string& command_text) {
  const std::int32_t error = SendMciCommand(command_text, mci_result_text_);
  if (error != 0) return "Error:" + std::to_string(error);
  return mci_result_text_;
}

std::int32_t BackgroundMusic::PlayMciRange(const std::string& device_name,
                                           const std::string& from_pos, const std::string& to_pos) {
  std::string command = "play " + device_name;
  if (!from_pos.empty()) command += " from " + from_pos;
  if (!to_pos.empty()) command += " to " + to_pos;
  return SendMciCommand(command, mci_result_text_);
}

void BackgroundMusic::WatchCdAudio() {
  cd_audio_ok_ = true;
  if (!WatchCdAudioSteps()) cd_audio_ok_ = false;
}

bool BackgroundMusic::WatchCdAudioSteps() {
  const std::string current = GetMciResult("status cdaudio current track");
  if (IsErrorText(current)) return false;  // no drive, no disc, or the disc was taken out
  const std::string count = GetMciResult("status cdaudio number of tracks");
  if (IsErrorText(count)) return false;

  const MciReply mode = mci_.SendCommand("status cdaudio mode", kCdModeBufferSize);
  // A failed query leaves an earlier reply in the buffer; it must not decide that play has ended.
  if (mode.error == 0) cd_mode_ = mode.text;
  const bool stopped = mode.error == 0 && StartsWith(cd_mode_, "stopped");

  if (settings_.RepeatTrack == 0) {
    if (stopped) PlayMciRange("cdaudio", "", "");  // plays on from where the drive stands
    return true;
  }
  // The current track is read as a number even when the drive has stopped: a reply that is not
  // one is a failure of the drive.
  const std::optional<double> current_track = ParseNumber(current);
  if (!current_track) return false;
  if (stopped || *current_track != settings_.RepeatTrack) {
    // A track beyond the disc's last one gives "Error:<code>" as the start, and the play command
    // fails in turn: silence, retried on every tick.
    const std::string start =
        GetMciResult("status cdaudio position track " + std::to_string(settings_.RepeatTrack));
    PlayMciRange("cdaudio", start, "");
  }
  return true;
}

void BackgroundMusic::CloseCdAudio() {
  SendIgnoringResult("stop cdaudio");
  SendIgnoringResult("close cdaudio");
}

}  // namespace tolvenar
