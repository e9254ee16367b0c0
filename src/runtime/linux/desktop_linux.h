#pragma once
// Desktop services for a saver that a host starts once per monitor: no process looks for another,
// and the pointer is the window's business (an invisible pointer over the saver's own window).
#include <cstdint>
#include <stdexcept>
#include <string>

#include "runtime/desktop.h"

namespace tolvenar::linux_port {

class LinuxDesktop final : public Desktop {
 public:
  // The saver runs beside its other monitors' savers (SecondStart::kRunsBeside), so Main never
  // looks; the settings program asks X11Desktop, which does.
  bool TopLevelWindowExists(const std::string&) override {
    throw std::logic_error("the Linux saver never looks for another running saver");
  }
  // Keeps the display count as the platform would; shows and hides nothing.
  std::int32_t ShowCursor(std::int32_t show_flag) override {
    display_count_ += show_flag ? 1 : -1;
    return display_count_;
  }

 private:
  std::int32_t display_count_ = 0;
};

}  // namespace tolvenar::linux_port
