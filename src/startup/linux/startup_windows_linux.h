#pragma once
// The one window the Linux saver brings up: the saver window, on X11 or on Wayland. A host's
// preview runs the saver in the host's window, and the settings are the settings program's
// business.
#include <utility>

#include "scene/linux/saver_window_wayland.h"
#include "scene/linux/saver_window_x11.h"
#include "startup/startup.h"

namespace tolvenar::linux_port {

class X11SaverWindowLauncher final : public SaverWindowLauncher {
 public:
  X11SaverWindowLauncher(const SaverWindowParts& parts, X11SaverWindowSetup setup)
      : parts_(parts), setup_(std::move(setup)) {}
  void LoadSaverWindow() override { linux_port::LoadSaverWindow(parts_, setup_); }

 private:
  SaverWindowParts parts_;
  X11SaverWindowSetup setup_;
};

class WaylandSaverWindowLauncher final : public SaverWindowLauncher {
 public:
  WaylandSaverWindowLauncher(const SaverWindowParts& parts, WaylandSaverWindowSetup setup)
      : parts_(parts), setup_(std::move(setup)) {}
  void LoadSaverWindow() override { linux_port::LoadSaverWindow(parts_, setup_); }

 private:
  SaverWindowParts parts_;
  WaylandSaverWindowSetup setup_;
};

}  // namespace tolvenar::linux_port
