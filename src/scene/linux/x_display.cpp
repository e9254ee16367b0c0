#include "scene/linux/x_display.h"

#include <cstdlib>

namespace tolvenar::linux_port {
namespace {

extern "C" int IgnoreXError(Display*, XErrorEvent*) { return 0; }

extern "C" int EndQuietlyOnLostDisplay(Display*) { std::_Exit(0); }

}  // namespace

XDisplay::XDisplay() : display_(XOpenDisplay(nullptr)) {
  if (!display_) return;
  XSetErrorHandler(IgnoreXError);
  XSetIOErrorHandler(EndQuietlyOnLostDisplay);
}

XDisplay::~XDisplay() {
  if (display_) XCloseDisplay(display_);
}

}  // namespace tolvenar::linux_port
