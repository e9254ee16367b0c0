#include "settings_dialog/linux/zoom_linux.h"

#include <gtk/gtk.h>

#include "runtime/linux/user_services_gtk.h"

namespace tolvenar::linux_port {

PixelRect LinuxWindowAnimation::WindowRect(WindowHandle window) {
  GtkWidget* widget = WidgetOf(window);
  if (!widget || !GTK_IS_WINDOW(widget)) return {};
  if (GdkWindow* shown = gtk_widget_get_window(widget); shown && gtk_widget_get_mapped(widget)) {
    GdkRectangle frame{};
    gdk_window_get_frame_extents(shown, &frame);
    return {frame.x, frame.y, frame.x + frame.width, frame.y + frame.height};
  }
  int x = 0, y = 0, width = 0, height = 0;
  gtk_window_get_position(GTK_WINDOW(widget), &x, &y);
  gtk_window_get_size(GTK_WINDOW(widget), &width, &height);
  return {x, y, x + width, y + height};
}

void LinuxWindowAnimation::AnimateRects(WindowHandle, std::int32_t, const PixelRect&,
                                        const PixelRect&) {}

}  // namespace tolvenar::linux_port
