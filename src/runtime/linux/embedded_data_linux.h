#pragma once
// Embedded data compiled into the program: the same named items the Windows file carries as RCDATA
// resources (the table is generated from its resource scripts at build time).
#include <string_view>
#include <vector>

#include "runtime/embedded_data.h"

namespace tolvenar::linux_port {

struct EmbeddedItem {
  std::string_view name;
  std::string_view bytes;
};

// Every embedded item, in the order of the resource scripts; defined by the generated table.
const std::vector<EmbeddedItem>& EmbeddedItems();

class LinuxEmbeddedData final : public EmbeddedData {
 public:
  std::string_view Bytes(std::string_view name) override;
};

}  // namespace tolvenar::linux_port
