#pragma once
// The one window the Linux settings program brings up: the settings dialog on GTK, and the
// termination signals closing it as its close box does.
#include <glib.h>

#include "runtime/linux/termination_signals.h"
#include "settings_dialog/linux/settings_dialog_linux.h"
#include "startup/startup.h"

namespace tolvenar::linux_port {

class GtkSettingsDialogLauncher final : public SettingsDialogLauncher {
 public:
  explicit GtkSettingsDialogLauncher(const SettingsDialogShared& dialog) : dialog_(dialog) {}
  void ShowSettingsDialog() override { ShowSettingsDialogModal(dialog_); }

 private:
  SettingsDialogShared dialog_;
};

// While it lives, a termination signal asks every window of the program to close (a chooser
// first, then the dialog).
class SignalsCloseWindows {
 public:
  explicit SignalsCloseWindows(TerminationSignals& signals);
  SignalsCloseWindows(const SignalsCloseWindows&) = delete;
  SignalsCloseWindows& operator=(const SignalsCloseWindows&) = delete;
  ~SignalsCloseWindows();

 private:
  guint watch_ = 0;
};

}  // namespace tolvenar::linux_port
