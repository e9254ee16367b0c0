#pragma once
// Embedded data from the program file's RCDATA resources, looked up by name.
#include "runtime/embedded_data.h"

namespace tolvenar::win32 {

class Win32EmbeddedData final : public EmbeddedData {
 public:
  std::string_view Bytes(std::string_view name) override;
};

}  // namespace tolvenar::win32
