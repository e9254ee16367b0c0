#pragma once
// The windows of the modes the Linux saver has: the saver window only. A host's preview runs the
// saver in the host's window, and the settings are the settings program's business.
#include <utility>

#include "scene/linux/saver_window_x11.h"
#include "startup/startup.h"

namespace tolvenar::linux_port {

class LinuxStartupWindows final : public StartupWindows {
 public:
  explicit LinuxStartupWindows(SaverWindowParts saver) : saver_(std::move(saver)) {}
  void ShowPreview(WindowHandle) override {}
  void ShowSettingsDialog() override {}
  void LoadSaverWindow() override { linux_port::LoadSaverWindow(saver_); }

 private:
  SaverWindowParts saver_;
};

}  // namespace tolvenar::linux_port
