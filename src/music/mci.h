#pragma once
// The multimedia command-string service: a command goes out as text and comes back as an error
// code and a reply text. Texts are bytes in the system's ANSI code page. Commands are sent without
// a notification window, so none waits for completion unless its text asks for it.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace tolvenar {

// The service's error codes, by name.
inline constexpr std::int32_t kMciErrInvalidDeviceId = 257;
inline constexpr std::int32_t kMciErrUnrecognizedCommand = 261;
inline constexpr std::int32_t kMciErrInvalidDeviceName = 263;
inline constexpr std::int32_t kMciErrCannotLoadDriver = 266;
inline constexpr std::int32_t kMciErrMissingCommandString = 267;
inline constexpr std::int32_t kMciErrBadInteger = 270;
inline constexpr std::int32_t kMciErrMissingParameter = 273;
inline constexpr std::int32_t kMciErrUnsupportedFunction = 274;
inline constexpr std::int32_t kMciErrFileNotFound = 275;
inline constexpr std::int32_t kMciErrDeviceNotReady = 276;
inline constexpr std::int32_t kMciErrInternal = 277;
inline constexpr std::int32_t kMciErrExtensionNotFound = 281;
inline constexpr std::int32_t kMciErrOutOfRange = 282;
inline constexpr std::int32_t kMciErrDuplicateAlias = 289;
inline constexpr std::int32_t kMciErrMissingDeviceName = 292;
inline constexpr std::int32_t kMciErrBadTimeFormat = 293;
inline constexpr std::int32_t kMciErrNoClosingQuote = 294;
inline constexpr std::int32_t kMciErrExtraCharacters = 305;

struct MciReply {
  std::int32_t error = 0;  // 0 on success, else the service's error code
  std::string text;        // the reply up to its first NUL; empty when no reply buffer was given
};

class Mci {
 public:
  virtual ~Mci() = default;
  // Sends one command with a reply buffer of `reply_size` bytes (0: no reply buffer); the reply is
  // cut to reply_size - 1 bytes.
  virtual MciReply SendCommand(const std::string& command, std::size_t reply_size) = 0;
  // The description of an error code in a buffer of `text_size` bytes (cut to text_size - 1);
  // nullopt when the service has none.
  virtual std::optional<std::string> ErrorText(std::int32_t error, std::size_t text_size) = 0;
};

}  // namespace tolvenar
