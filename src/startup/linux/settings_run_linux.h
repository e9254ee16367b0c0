#pragma once
// The settings run of the Linux program (--settings): GTK on the display, the user's settings
// file, and the core's start-up steps as the Windows build's /c takes them.
#include "runtime/linux/termination_signals.h"
#include "runtime/emulation/user_folders.h"

namespace tolvenar::linux_port {

// Shows the settings dialog and returns the program's exit status once it has closed: 0, or 1
// when there is no display. A termination signal closes it as its close box does.
int RunSettings(const UserEnvironment& environment, TerminationSignals& signals);

}  // namespace tolvenar::linux_port
