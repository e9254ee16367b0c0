#pragma once
// The command-string service on winmm.
#include "music/mci.h"

namespace tolvenar::win32 {

class Win32Mci final : public Mci {
 public:
  MciReply SendCommand(const std::string& command, std::size_t reply_size) override;
  std::optional<std::string> ErrorText(std::int32_t error, std::size_t text_size) override;
};

}  // namespace tolvenar::win32
