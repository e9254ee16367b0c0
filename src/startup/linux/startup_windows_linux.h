#pragma once
// The windows of the modes the Linux saver has: the saver window only. A host's preview runs the
// saver in the host's window, and the settings are the settings program's business.
#include <stdexcept>
#include <utility>

#include "scene/linux/saver_window_x11.h"
#include "startup/startup.h"

namespace tolvenar::linux_port {

class LinuxStartupWindows final : public StartupWindows {
 public:
  explicit LinuxStartupWindows(SaverWindowParts saver) : saver_(std::move(saver)) {}
  // The saver's run asks Main for the saver only: reaching either of these is a wiring fault.
  void ShowPreview(WindowHandle) override {
    throw std::logic_error("the Linux saver has no preview window of its own");
  }
  void ShowSettingsDialog() override {
    throw std::logic_error("the Linux saver's settings are the settings program's");
  }
  void LoadSaverWindow() override { linux_port::LoadSaverWindow(saver_); }

 private:
  SaverWindowParts saver_;
};

}  // namespace tolvenar::linux_port
