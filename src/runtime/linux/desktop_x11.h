#pragma once
// Desktop services for the settings run: a top-level window is looked for by its title on the X
// display (a window manager's frame holds the program's window one level down), and the pointer
// is left as it is.
#include <X11/Xlib.h>

#include <cstdint>
#include <string>

#include "runtime/desktop.h"

namespace tolvenar::linux_port {

class X11Desktop final : public Desktop {
 public:
  explicit X11Desktop(Display* display) : display_(display) {}
  bool TopLevelWindowExists(const std::string& title) override;
  std::int32_t ShowCursor(std::int32_t show_flag) override {
    display_count_ += show_flag ? 1 : -1;
    return display_count_;
  }

 private:
  Display* display_;
  std::int32_t display_count_ = 0;
};

}  // namespace tolvenar::linux_port
