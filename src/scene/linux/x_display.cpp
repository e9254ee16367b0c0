#include "scene/linux/x_display.h"

#include <X11/extensions/Xrandr.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace tolvenar::linux_port {
namespace {

extern "C" int IgnoreXError(Display*, XErrorEvent*) { return 0; }

extern "C" int EndQuietlyOnLostDisplay(Display*) { std::_Exit(0); }

}  // namespace

Display* OpenDisplay() {
  using std::chrono::milliseconds;
  const char* name = std::getenv("DISPLAY");
  if (!name || !*name) return nullptr;
  constexpr int kTries = 200;
  for (int attempt = 1;; ++attempt) {
    if (Display* display = XOpenDisplay(nullptr)) return display;
    if (attempt == kTries) return nullptr;
    std::this_thread::sleep_for(milliseconds(10));
  }
}

XDisplay::XDisplay() : display_(OpenDisplay()) {
  if (!display_) return;
  XSetErrorHandler(IgnoreXError);
  XSetIOErrorHandler(EndQuietlyOnLostDisplay);
}

std::vector<PixelRect> MonitorRects(Display* display) {
  std::vector<PixelRect> monitors;
  int count = 0;
  XRRMonitorInfo* info = XRRGetMonitors(display, DefaultRootWindow(display), True, &count);
  for (int i = 0; i < count; ++i) {
    const PixelRect rect{info[i].x, info[i].y, info[i].x + info[i].width,
                         info[i].y + info[i].height};
    // The primary first; the others in the order the server lists them.
    if (info[i].primary) {
      monitors.insert(monitors.begin(), rect);
    } else {
      monitors.push_back(rect);
    }
  }
  if (info) XRRFreeMonitors(info);
  if (monitors.empty()) {
    const int screen = DefaultScreen(display);
    monitors.push_back({0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen)});
  }
  return monitors;
}

std::optional<PixelRect> WindowRectOnScreen(Display* display, Window window) {
  XWindowAttributes attributes{};
  if (!XGetWindowAttributes(display, window, &attributes)) return std::nullopt;
  int x = 0;
  int y = 0;
  Window child = None;
  if (!XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child)) {
    return std::nullopt;
  }
  return PixelRect{x, y, x + attributes.width, y + attributes.height};
}

}  // namespace tolvenar::linux_port
