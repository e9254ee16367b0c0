#include "scene/linux/x_display.h"

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

XDisplay::~XDisplay() {
  if (display_) XCloseDisplay(display_);
}

}  // namespace tolvenar::linux_port
