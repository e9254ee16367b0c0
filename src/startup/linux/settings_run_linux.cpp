#include "startup/linux/settings_run_linux.h"

#include <gdk/gdkx.h>
#include <glib-unix.h>
#include <gtk/gtk.h>

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "runtime/linux/desktop_x11.h"
#include "runtime/linux/embedded_data_linux.h"
#include "runtime/linux/process_linux.h"
#include "runtime/linux/profile_file_linux.h"
#include "runtime/linux/user_services_gtk.h"
#include "settings/settings_store.h"
#include "settings_dialog/linux/settings_dialog_linux.h"
#include "settings_dialog/linux/zoom_linux.h"
#include "startup/startup.h"

namespace tolvenar::linux_port {
namespace {

// The settings run brings up the dialog only: it asks Main for nothing else, so reaching the
// other windows is a wiring fault.
class SettingsStartupWindows final : public StartupWindows {
 public:
  explicit SettingsStartupWindows(const SettingsDialogShared& dialog) : dialog_(dialog) {}
  void ShowPreview(WindowHandle) override {
    throw std::logic_error("the settings program has no preview window");
  }
  void ShowSettingsDialog() override { ShowSettingsDialogModal(dialog_); }
  void LoadSaverWindow() override {
    throw std::logic_error("the settings program has no saver window");
  }

 private:
  SettingsDialogShared dialog_;
};

constexpr const char* kSettingsArgumentText = "/c";

// Every window of the program is asked to close (a chooser first, then the dialog).
gboolean OnTerminationSignal(gint, GIOCondition, gpointer data) {
  if (!static_cast<TerminationSignals*>(data)->TakeRequest()) return G_SOURCE_CONTINUE;
  GList* toplevels = gtk_window_list_toplevels();
  for (GList* item = g_list_last(toplevels); item; item = item->prev) {
    if (gtk_widget_get_visible(GTK_WIDGET(item->data))) gtk_window_close(GTK_WINDOW(item->data));
  }
  g_list_free(toplevels);
  return G_SOURCE_CONTINUE;
}

}  // namespace

int RunSettings(const UserEnvironment& environment, TerminationSignals& signals) {
  if (!gtk_init_check(nullptr, nullptr)) {
    (void)std::fputs("tolvenar: cannot open the display\n", stderr);
    return 1;
  }
  // The settings file's folder is the program folder as the settings store sees it; without a
  // home there is none, and the dialog shows the defaults and writes nowhere.
  const std::string ini = SettingsFilePath(environment).value_or("");
  const std::string ini_folder = ini.empty() ? std::string() : ParentFolder(ini);
  LinuxProcess process(kSettingsArgumentText, ini_folder);
  LinuxProfileFile profile(IniFilePath(process.ProgramDirectory()), ini);
  SettingsStore store(profile, process);
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
  SettingsStartupWindows windows(
      {settings,
       zoom_point,
       embedded,
       {store, screen, pointer, app_pointer, file_chooser, shell, animation}});
  const guint watch =
      signals.fd() >= 0 ? g_unix_fd_add(signals.fd(), G_IO_IN, OnTerminationSignal, &signals) : 0;
  Main({desktop, process, store, windows}, settings, cursor_show_result);
  if (watch != 0) g_source_remove(watch);
  return 0;
}

}  // namespace tolvenar::linux_port
