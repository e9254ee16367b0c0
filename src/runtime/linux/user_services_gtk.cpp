#include "runtime/linux/user_services_gtk.h"

#include <gdk/gdkx.h>

#include <cmath>
#include <cstdlib>

#include "runtime/emulation/file_filter.h"
#include "runtime/linux/owners_glib.h"
#include "runtime/linux/system_path.h"
#include "runtime/linux/text_cp932.h"
#include "runtime/mouse_press.h"
#include "runtime/screen_units.h"

namespace tolvenar::linux_port {
namespace {

GdkDevice* Pointer() {
  GdkDisplay* display = gdk_display_get_default();
  GdkSeat* seat = display ? gdk_display_get_default_seat(display) : nullptr;
  return seat ? gdk_seat_get_pointer(seat) : nullptr;
}

GdkRectangle PrimaryMonitorArea() {
  GdkRectangle area{0, 0, 0, 0};
  GdkDisplay* display = gdk_display_get_default();
  if (!display) return area;
  GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
  if (!monitor) monitor = gdk_display_get_monitor(display, 0);
  if (monitor) gdk_monitor_get_geometry(monitor, &area);
  return area;
}

}  // namespace

std::int16_t MouseButtonOf(guint gdk_button) {
  switch (gdk_button) {
    case 3:
      return kRightButton;
    case 2:
      return kMiddleButton;
    default:
      return kLeftButton;
  }
}

std::optional<PixelPoint> LinuxPointerLocator::CursorPosition() {
  GdkDevice* pointer = Pointer();
  if (!pointer) return std::nullopt;
  int x = 0;
  int y = 0;
  gdk_device_get_position(pointer, nullptr, &x, &y);
  return PixelPoint{x, y};
}

WindowHandle LinuxPointerLocator::WindowAt(PixelPoint point) {
  GdkDevice* pointer = Pointer();
  if (!pointer) return 0;
  GdkWindow* window = gdk_device_get_window_at_position(pointer, nullptr, nullptr);
  if (!window) return 0;
  gpointer owner = nullptr;
  gdk_window_get_user_data(window, &owner);
  return owner ? reinterpret_cast<WindowHandle>(owner) : reinterpret_cast<WindowHandle>(window);
}

void LinuxAppPointer::SetAppPointer(AppPointerShape shape) {
  shape_ = shape;
  GdkDisplay* display = gdk_display_get_default();
  if (!display) return;
  const GObjectRef<GdkCursor> cursor(
      shape == AppPointerShape::kHourglass ? gdk_cursor_new_from_name(display, "wait") : nullptr);
  GList* toplevels = gtk_window_list_toplevels();
  for (GList* item = toplevels; item; item = item->next) {
    if (GdkWindow* window = gtk_widget_get_window(GTK_WIDGET(item->data))) {
      gdk_window_set_cursor(window, cursor.get());
    }
  }
  g_list_free(toplevels);
  gdk_display_flush(display);
}

int ScreenDotsPerInch() {
  GdkDisplay* display = gdk_display_get_default();
  if (display && GDK_IS_X11_DISPLAY(display)) {
    if (const char* resource = XGetDefault(gdk_x11_display_get_xdisplay(display), "Xft", "dpi")) {
      const double dpi = std::atof(resource);
      if (dpi > 0) return static_cast<int>(std::lround(dpi));
    }
  }
  GdkScreen* screen = gdk_screen_get_default();
  const double resolution = screen ? gdk_screen_get_resolution(screen) : -1;
  return resolution > 0 ? static_cast<int>(std::lround(resolution)) : kUsualDotsPerInch;
}

LinuxScreenMetrics::LinuxScreenMetrics(int dots_per_inch)
    : twips_per_pixel_(TwipsPerPixel(dots_per_inch)) {}

double LinuxScreenMetrics::WidthTwips() { return PrimaryMonitorArea().width * twips_per_pixel_; }
double LinuxScreenMetrics::HeightTwips() { return PrimaryMonitorArea().height * twips_per_pixel_; }

FileChoice ChosenFileAnswer(const std::string& system_path, std::uint32_t buffer_size) {
  // A POSIX file system keeps no short names: a name code page 932 cannot hold is refused.
  std::string core = CorePath(system_path);
  if (core.empty()) return {ChoiceOutcome::kNameNotHeld, ""};
  if (core.size() >= buffer_size) return {};
  return {ChoiceOutcome::kChosen, std::move(core)};
}

std::vector<GtkFileFilter*> MakeFileFilters(const std::string& request_filter) {
  std::vector<GtkFileFilter*> filters;
  for (const FileFilter& parsed : ParseFileFilter(request_filter)) {
    GtkFileFilter* filter = gtk_file_filter_new();
    const std::string name = Cp932ToUtf8(parsed.name).value_or(parsed.name);
    gtk_file_filter_set_name(filter, name.c_str());
    for (const std::string& pattern : parsed.patterns) {
      gtk_file_filter_add_pattern(filter, CaseInsensitivePattern(pattern).c_str());
    }
    filters.push_back(filter);
  }
  return filters;
}

FileChoice LinuxFileChooser::OpenFileName(const OpenFileRequest& request) {
  const std::string title = Cp932ToUtf8(request.title).value_or("");
  GtkWidget* owner = WidgetOf(request.owner);
  GtkWindow* parent = owner ? GTK_WINDOW(gtk_widget_get_toplevel(owner)) : nullptr;
  const GObjectRef<GtkFileChooserNative> chooser(gtk_file_chooser_native_new(
      title.c_str(), parent, GTK_FILE_CHOOSER_ACTION_OPEN, nullptr, nullptr));
  for (GtkFileFilter* filter : MakeFileFilters(request.filter)) {
    gtk_file_chooser_add_filter(GTK_FILE_CHOOSER(chooser.get()), filter);  // takes it
  }
  if (const std::optional<SystemPath> folder = SystemPath::FromCore(request.initial_dir)) {
    gtk_file_chooser_set_current_folder(GTK_FILE_CHOOSER(chooser.get()), folder->c_str());
  }
  if (gtk_native_dialog_run(GTK_NATIVE_DIALOG(chooser.get())) != GTK_RESPONSE_ACCEPT) return {};
  const GMemory<char> chosen(gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(chooser.get())));
  if (!chosen) return {};
  return ChosenFileAnswer(chosen.get(), request.file_buffer_size);
}

void LinuxFileChooser::ShowRefusal(WindowHandle owner, const std::string& message) {
  GtkWidget* widget = WidgetOf(owner);
  GtkWindow* parent = widget ? GTK_WINDOW(gtk_widget_get_toplevel(widget)) : nullptr;
  GtkWidget* box = gtk_message_dialog_new(parent, GTK_DIALOG_MODAL, GTK_MESSAGE_WARNING,
                                          GTK_BUTTONS_OK, "%s", message.c_str());
  const gchar* title = parent ? gtk_window_get_title(parent) : nullptr;
  if (title) gtk_window_set_title(GTK_WINDOW(box), title);
  gtk_dialog_run(GTK_DIALOG(box));
  gtk_widget_destroy(box);
}

void LinuxShell::Execute(WindowHandle owner, const std::string& operation, const std::string& file,
                         const std::string& parameters, const std::string& directory,
                         std::int32_t show_command) {
  if (operation != "open") return;
  const std::optional<std::string> uri = Cp932ToUtf8(file);
  if (!uri) return;
  GtkWidget* widget = WidgetOf(owner);
  GtkWindow* window = widget ? GTK_WINDOW(gtk_widget_get_toplevel(widget)) : nullptr;
  GError* error = nullptr;
  // No handler for the address (a bare desktop) is no failure the program reports.
  if (!gtk_show_uri_on_window(window, uri->c_str(), GDK_CURRENT_TIME, &error) && error) {
    g_error_free(error);
  }
}

}  // namespace tolvenar::linux_port
