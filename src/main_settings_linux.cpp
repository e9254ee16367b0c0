// Program entry of the Linux settings dialog, tolvenar-settings, and the one place that makes its
// services: what the saver runs for --settings (and the menu entry through it). A termination
// signal closes the dialog. An open dialog is found by the lock its program holds, so that a
// second start ends under Wayland as under X11.
#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "runtime/emulation/user_folders.h"
#include "runtime/linux/desktop_x11.h"
#include "runtime/linux/embedded_data_linux.h"
#include "runtime/linux/environment_linux.h"
#include "runtime/linux/file_lock.h"
#include "runtime/linux/termination_signals.h"
#include "runtime/linux/user_services_gtk.h"
#include "settings_dialog/linux/settings_dialog_linux.h"
#include "settings_dialog/linux/zoom_linux.h"
#include "startup/dialog_lock_desktop.h"
#include "startup/linux/settings_dialog_launcher_linux.h"
#include "startup/linux/user_settings_linux.h"
#include "startup/startup.h"

int main() {
  using namespace tolvenar;
  using namespace tolvenar::linux_port;

  TerminationSignals signals;
  if (!gtk_init_check(nullptr, nullptr)) {
    (void)std::fputs("tolvenar: cannot open the display\n", stderr);
    return 1;
  }
  // The program takes no arguments.
  const UserEnvironment environment = UserEnvironmentOfProcess();
  UserSettingsFile user_settings(environment, "");
  LinuxEmbeddedData embedded;
  GdkDisplay* display = gdk_display_get_default();
  // A running saver is looked for on the X display; there is none to look on under Wayland.
  X11Desktop windows(GDK_IS_X11_DISPLAY(display) ? gdk_x11_display_get_xdisplay(display) : nullptr);
  std::unique_ptr<FileLock> dialog_lock;
  const std::optional<std::string> lock_path = SettingsDialogLockPath(environment);
  if (lock_path) dialog_lock = std::make_unique<FileLock>(*lock_path);
  std::unique_ptr<DialogLockDesktop> locked;
  if (dialog_lock && dialog_lock->Opened()) {
    locked = std::make_unique<DialogLockDesktop>(windows, *dialog_lock);
  } else {
    // Without the lock the dialog is looked for by its title, which finds it on X11 only.
    (void)std::fprintf(stderr, "tolvenar: cannot open the settings lock %s%s%s\n",
                       lock_path ? lock_path->c_str() : "(no home folder)", lock_path ? ": " : "",
                       lock_path ? std::strerror(errno) : "");
  }
  Desktop* const desktop = locked ? static_cast<Desktop*>(locked.get()) : &windows;

  LinuxPointerLocator pointer;
  LinuxAppPointer app_pointer;
  LinuxScreenMetrics screen(ScreenDotsPerInch());
  LinuxFileChooser file_chooser;
  LinuxShell shell;
  LinuxWindowAnimation animation;

  SettingsRecord settings;
  ZoomPoint zoom_point;
  std::int32_t cursor_show_result = 0;
  GtkSettingsDialogLauncher dialog(
      SettingsDialogShared{settings, zoom_point, embedded,
                           SettingsDialogServices{user_settings.store(), screen, pointer,
                                                  app_pointer, file_chooser, shell, animation}});
  const SignalsCloseWindows closing(signals);
  Main(SettingsMode{dialog}, *desktop, user_settings.store(), settings, cursor_show_result);
  return 0;
}
