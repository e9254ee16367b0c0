#pragma once
// Fakes of the multimedia services: a command-string service with scripted answers that records
// every command with the size of its reply buffer, and a wave-sound player that logs its calls.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "music/mci.h"
#include "music/wave_sound.h"

namespace tolvenar::testing {

// Error codes of the service, by name.
inline constexpr std::int32_t kMciInvalidDeviceId = 257;
inline constexpr std::int32_t kMciCannotLoadDriver = 266;
inline constexpr std::int32_t kMciFileNotFound = 275;
inline constexpr std::int32_t kMciDeviceNotReady = 276;
inline constexpr std::int32_t kMciOutOfRange = 282;

struct MciCall {
  std::string command;
  std::size_t reply_size = 0;
  bool operator==(const MciCall& other) const {
    return command == other.command && reply_size == other.reply_size;
  }
};
inline std::ostream& operator<<(std::ostream& out, const MciCall& call) {
  return out << "{\"" << call.command << "\", " << call.reply_size << "}";
}

struct MciAnswer {
  std::int32_t error = 0;
  std::string reply;
};

class FakeMci : public Mci {
 public:
  MciReply SendCommand(const std::string& command, std::size_t reply_size) override {
    calls.push_back({command, reply_size});
    MciAnswer answer;
    if (respond) {
      answer = respond(command);
    } else if (auto it = answers.find(command); it != answers.end()) {
      answer = it->second;
    } else {
      answer.error = unknown_error;
    }
    // Like the platform: no reply without a buffer, and a reply cut to fit it with its NUL.
    std::string text = reply_size == 0 ? std::string() : answer.reply;
    if (reply_size > 0 && text.size() > reply_size - 1) text.resize(reply_size - 1);
    return {answer.error, text};
  }
  std::optional<std::string> ErrorText(std::int32_t error, std::size_t text_size) override {
    error_text_calls.push_back({std::to_string(error), text_size});
    auto it = error_texts.find(error);
    if (it == error_texts.end()) return std::nullopt;
    std::string text = it->second;
    if (text_size > 0 && text.size() > text_size - 1) text.resize(text_size - 1);
    return text;
  }

  std::vector<std::string> Commands() const {
    std::vector<std::string> commands;
    for (const MciCall& call : calls) commands.push_back(call.command);
    return commands;
  }

  // Answers by exact command text; a command without one gets `unknown_error`.
  std::map<std::string, MciAnswer> answers;
  std::int32_t unknown_error = 0;
  // When set, answers every command instead of `answers` (for devices with state).
  std::function<MciAnswer(const std::string&)> respond;
  // Descriptions by error code; a code without one has no description.
  std::map<std::int32_t, std::string> error_texts;

  std::vector<MciCall> calls;
  std::vector<MciCall> error_text_calls;  // {code in decimal, buffer size}
};

class FakeWaveSound : public WaveSound {
 public:
  std::uint32_t OutputDeviceCount() override {
    log.push_back("OutputDeviceCount");
    return device_count;
  }
  bool PlayLooping(const std::string& path) override {
    log.push_back("PlayLooping " + path);
    return true;
  }
  bool StopPlaying() override {
    log.push_back("StopPlaying");
    return true;
  }

  std::uint32_t device_count = 1;
  std::vector<std::string> log;
};

}  // namespace tolvenar::testing
