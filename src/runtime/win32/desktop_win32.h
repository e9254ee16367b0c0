#pragma once
// Desktop services on user32.
#include "runtime/desktop.h"

namespace tolvenar::win32 {

class Win32Desktop final : public Desktop {
 public:
  bool TopLevelWindowExists(const std::string& title) override;
  std::int32_t ShowCursor(std::int32_t show_flag) override;
};

}  // namespace tolvenar::win32
