#pragma once
// The one window the Linux saver brings up: the saver window, on X11 or on Wayland. A host's
// preview runs the saver in the host's window, and the settings are the settings program's
// business.
#include <utility>

#include "scene/linux/saver_window_wayland.h"
#include "scene/linux/saver_window_x11.h"
#include "startup/startup.h"

namespace tolvenar::linux_port {

// Loads the saver window of the display system whose setup it holds.
template <typename Setup>
class SaverWindowLauncherOn final : public SaverWindowLauncher {
 public:
  SaverWindowLauncherOn(const SaverWindowParts& parts, Setup setup)
      : parts_(parts), setup_(std::move(setup)) {}
  void LoadSaverWindow() override { linux_port::LoadSaverWindow(parts_, setup_); }

 private:
  SaverWindowParts parts_;
  Setup setup_;
};

using X11SaverWindowLauncher = SaverWindowLauncherOn<X11SaverWindowSetup>;
using WaylandSaverWindowLauncher = SaverWindowLauncherOn<WaylandSaverWindowSetup>;

}  // namespace tolvenar::linux_port
