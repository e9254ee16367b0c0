#pragma once
// The multimedia command-string service on media players: the commands the music module sends,
// answered with the replies and error codes the platform's own service gives (recorded in
// tests/music/transcripts). The device's mode is kept here, so "status ... mode" answers at once
// and in step with the commands; the players only report when they ended or failed.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "music/mci.h"
#include "music/media_backend.h"

namespace tolvenar {

// The words of a command: separated by blanks, a word in double quotes may hold blanks. Code
// page 932 bytes pass untouched. A malformed command gives no words and its error code.
struct MciWords {
  std::vector<std::string> words;
  std::int32_t error = 0;
};
MciWords SplitMciCommand(std::string_view command);

class MciEmulator final : public Mci {
 public:
  explicit MciEmulator(MediaBackend& backend) : backend_(backend) {}
  ~MciEmulator() override;  // closes every device still open
  MciEmulator(const MciEmulator&) = delete;
  MciEmulator& operator=(const MciEmulator&) = delete;

  MciReply SendCommand(const std::string& command, std::size_t reply_size) override;
  std::optional<std::string> ErrorText(std::int32_t error, std::size_t text_size) override;

 private:
  enum class Kind { kFile, kCd };
  enum class Mode { kStopped, kPlaying, kPaused };
  enum class TimeFormat { kMilliseconds, kMsf, kTmsf };
  struct Device {
    int id = 0;
    std::string name;  // the alias, or the element when opened without one
    Kind kind = Kind::kFile;
    Mode mode = Mode::kStopped;
    bool at_end = false;  // played to the end: play without "from" has nothing left to play
    TimeFormat time_format = TimeFormat::kMilliseconds;
  };
  struct Answer {
    std::int32_t error = 0;
    std::string reply;
  };
  using Words = std::vector<std::string>;

  void TakeEvents();
  Device* Find(std::string_view name);
  Answer Open(const Words& words);
  Answer AutoOpen(const std::string& name);
  Answer OpenDevice(Kind kind, const std::string& element, const std::string& name);
  Answer Close(const std::string& name);
  Answer Play(Device& device, const Words& words);
  Answer Query(Device& device, const Words& words);
  Answer Set(Device& device, const Words& words);
  // Seeks to a "from" position in the device's time format.
  std::int32_t MoveTo(Device& device, const std::string& position);

  MediaBackend& backend_;
  std::vector<Device> devices_;
};

}  // namespace tolvenar
