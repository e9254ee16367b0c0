#pragma once
// What the Linux saver's host options ask for: a saver run, placed where the host wants it, or
// one of the commands that end the program at once.
#include <X11/Xlib.h>

#include <optional>

#include "scene/linux/saver_window_x11.h"
#include "startup/emulation/host_arguments.h"

namespace tolvenar::linux_port {

// Runs the commands that are no saver run (the help, a usage error, --settings, the registration
// with XScreenSaver) and gives the program's exit status; nothing for a saver run.
std::optional<int> RunHostCommand(const HostRun& run);

// Where a saver run draws.
SaverWindowPlace PlaceOf(const HostRun& run);

// A --root run in a host's window that is clearly smaller than its monitor: a host's settings
// preview runs the saver's command line there.
bool IsHostsPreview(Display* display, const HostRun& run);

}  // namespace tolvenar::linux_port
