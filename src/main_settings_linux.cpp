// Program entry of the Linux settings dialog, tolvenar-settings, and the one place that makes its
// services: what the saver runs for --settings (and the menu entry through it). A termination
// signal closes the dialog.
#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include <cstdint>
#include <cstdio>

#include "runtime/linux/desktop_x11.h"
#include "runtime/linux/embedded_data_linux.h"
#include "runtime/linux/environment_linux.h"
#include "runtime/linux/termination_signals.h"
#include "runtime/linux/user_services_gtk.h"
#include "settings_dialog/linux/settings_dialog_linux.h"
#include "settings_dialog/linux/zoom_linux.h"
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
  UserSettingsFile user_settings(UserEnvironmentOfProcess(), "");
  LinuxEmbeddedData embedded;
  GdkDisplay* display = gdk_display_get_default();
  X11Desktop desktop(GDK_IS_X11_DISPLAY(display) ? gdk_x11_display_get_xdisplay(display) : nullptr);

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
  Main(SettingsMode{dialog}, desktop, user_settings.store(), settings, cursor_show_result);
  return 0;
}
