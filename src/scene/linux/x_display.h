#pragma once
// The program's connection to the X server. An X error (a request on a window its host has just
// destroyed, a visual the GL device probes) is ignored instead of ending the process: every
// request whose outcome matters checks its own status. Losing the display ends the process
// quietly, since nothing is left to draw on.
#include <X11/Xlib.h>

#include <optional>
#include <vector>

#include "runtime/linux/owners_x11.h"
#include "runtime/pixel_geometry.h"

namespace tolvenar::linux_port {

// XOpenDisplay($DISPLAY), tried again for up to two seconds: a server busy with many new
// connections at once (a host starting one saver per monitor) refuses some for a moment; null
// when $DISPLAY is unset or the connection still fails.
Display* OpenDisplay();

// Each monitor's rectangle in root-window pixels, the primary first; the whole screen when the
// server lists none.
std::vector<PixelRect> MonitorRects(Display* display);

// A window's rectangle in root-window pixels; nothing when it is gone.
std::optional<PixelRect> WindowRectOnScreen(Display* display, Window window);

class XDisplay {
 public:
  // Connects to $DISPLAY; get() is null when that failed.
  XDisplay();
  XDisplay(const XDisplay&) = delete;
  XDisplay& operator=(const XDisplay&) = delete;

  Display* get() const { return display_.get(); }

 private:
  UniqueDisplay display_;
};

}  // namespace tolvenar::linux_port
