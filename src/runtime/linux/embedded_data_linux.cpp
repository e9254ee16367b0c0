#include "runtime/linux/embedded_data_linux.h"

namespace tolvenar::linux_port {

std::string_view LinuxEmbeddedData::Bytes(std::string_view name) {
  for (const EmbeddedItem& item : EmbeddedItems()) {
    if (item.name == name) return item.bytes;
  }
  return {};
}

}  // namespace tolvenar::linux_port
