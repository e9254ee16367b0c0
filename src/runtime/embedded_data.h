#pragma once
// The data embedded in the program file (pictures), looked up by resource name.
#include <string_view>

namespace tolvenar {

class EmbeddedData {
 public:
  virtual ~EmbeddedData() = default;
  // The bytes of the named item; empty when there is none. Valid for the whole run.
  virtual std::string_view Bytes(std::string_view name) = 0;
};

}  // namespace tolvenar
