#include "startup/linux/host_run_linux.h"

#include <cstdio>
#include <string>
#include <vector>

#include "runtime/linux/environment_linux.h"
#include "scene/linux/x_display.h"
#include "startup/linux/settings_program_linux.h"
#include "startup/emulation/xscreensaver_registration.h"

namespace tolvenar::linux_port {

std::optional<int> RunHostCommand(const HostRun& run) {
  const std::string usage = HostUsage("tolvenar");
  switch (run.kind) {
    case RunKind::kHelp:
      (void)std::fputs(usage.c_str(), stdout);
      return 0;
    case RunKind::kUsageError:
      (void)std::fprintf(stderr, "tolvenar: %s\n%s", run.error.c_str(), usage.c_str());
      return 1;
    case RunKind::kSettings:
      return RunSettingsProgram();
    case RunKind::kRegisterXscreensaver: {
      const std::optional<std::string> path = XscreensaverFilePath(EnvironmentVariable("HOME"));
      const std::vector<std::string> app_defaults(kXscreensaverAppDefaults.begin(),
                                                  kXscreensaverAppDefaults.end());
      const XscreensaverRegistration result =
          path ? RegisterXscreensaver(*path, app_defaults) : XscreensaverRegistration::kNoHome;
      const int status = RegistrationExitStatus(result);
      (void)std::fputs(RegistrationMessage(result, path.value_or("")).c_str(),
                       status == 0 ? stdout : stderr);
      return status;
    }
    default:
      return std::nullopt;
  }
}

SaverWindowPlace PlaceOf(const HostRun& run) {
  SaverWindowPlace place;
  place.covers_monitors = CoversMonitors(run);
  if (run.kind == RunKind::kOwnWindow) {
    place.target = SaverTarget::kOwnWindow;
  } else if (run.window) {
    place.target = SaverTarget::kHostWindow;
    place.window = *run.window;
  } else {
    place.target = SaverTarget::kRootWindow;
  }
  return place;
}

bool IsHostsPreview(Display* display, const HostRun& run) {
  if (!run.window) return false;
  const std::optional<PixelRect> window = WindowRectOnScreen(display, *run.window);
  return window && IsPreviewSized(*window, MonitorRects(display));
}

}  // namespace tolvenar::linux_port
