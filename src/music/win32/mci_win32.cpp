#include "music/win32/mci_win32.h"

#include <windows.h>

#include <mmsystem.h>

#include <algorithm>
#include <vector>

#include "runtime/win32/system_function.h"

namespace tolvenar::win32 {
namespace {

// The text of a buffer the platform has filled: up to its first NUL and never past size - 1 bytes,
// whether or not the platform wrote a terminator.
std::string TextOf(const std::vector<char>& buffer) {
  if (buffer.empty()) return {};
  const auto last = buffer.end() - 1;
  return std::string(buffer.begin(), std::find(buffer.begin(), last, '\0'));
}

}  // namespace

MciReply Win32Mci::SendCommand(const std::string& command, std::size_t reply_size) {
  static const auto send_string =
      SystemFunction<decltype(&mciSendStringA)>("winmm.dll", "mciSendStringA");
  if (!send_string) return {MCIERR_CANNOT_LOAD_DRIVER, {}};
  std::vector<char> reply(reply_size, '\0');
  const MCIERROR error = send_string(command.c_str(), reply_size ? reply.data() : nullptr,
                                     static_cast<UINT>(reply_size), nullptr);
  return {static_cast<std::int32_t>(error), TextOf(reply)};
}

std::optional<std::string> Win32Mci::ErrorText(std::int32_t error, std::size_t text_size) {
  static const auto error_string =
      SystemFunction<decltype(&mciGetErrorStringA)>("winmm.dll", "mciGetErrorStringA");
  if (!error_string) return std::nullopt;
  std::vector<char> text(text_size, '\0');
  if (!error_string(static_cast<MCIERROR>(error), text_size ? text.data() : nullptr,
                    static_cast<UINT>(text_size))) {
    return std::nullopt;
  }
  return TextOf(text);
}

}  // namespace tolvenar::win32
