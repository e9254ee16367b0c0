#include "settings_dialog/linux/zoom_linux.h"

#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>

#include "runtime/linux/owners_x11.h"
#include "runtime/linux/user_services_gtk.h"

namespace tolvenar::linux_port {
namespace {

constexpr int kZoomSteps = 12;
constexpr std::chrono::milliseconds kZoomStepTime{15};

// A window manager announces itself through a check window on the root; a compositor owns the
// _NET_WM_CM_Sn selection, and then outlines drawn on the root window would not be seen.
bool DesktopShowsOutlines(Display* display) {
  const int screen = DefaultScreen(display);
  const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
  if (check == None) return false;
  Atom type = None;
  int format = 0;
  unsigned long count = 0, left = 0;
  unsigned char* data = nullptr;
  const bool has_manager =
      XGetWindowProperty(display, RootWindow(display, screen), check, 0, 1, False, XA_WINDOW, &type,
                         &format, &count, &left, &data) == Success &&
      type == XA_WINDOW && count == 1;
  if (data) XFree(data);
  if (!has_manager) return false;
  const std::string selection = "_NET_WM_CM_S" + std::to_string(screen);
  const Atom compositor = XInternAtom(display, selection.c_str(), False);
  return XGetSelectionOwner(display, compositor) == None;
}

}  // namespace

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

void LinuxWindowAnimation::AnimateRects(WindowHandle, std::int32_t, const PixelRect& from,
                                        const PixelRect& to) {
  GdkDisplay* gdk_display = gdk_display_get_default();
  if (!gdk_display || !GDK_IS_X11_DISPLAY(gdk_display)) return;
  Display* display = gdk_x11_display_get_xdisplay(gdk_display);
  if (!DesktopShowsOutlines(display)) return;
  // Each outline is drawn inverted over everything on the screen and inverted back, so the
  // screen is as it was afterwards.
  const Window root = DefaultRootWindow(display);
  XGCValues values{};
  values.function = GXinvert;
  values.subwindow_mode = IncludeInferiors;
  values.line_width = 2;
  UniqueGc gc(display,
              XCreateGC(display, root, GCFunction | GCSubwindowMode | GCLineWidth, &values));
  for (const PixelRect& outline : ZoomOutlines(from, to, kZoomSteps)) {
    const unsigned width = static_cast<unsigned>(std::max(outline.right - outline.left, 1));
    const unsigned height = static_cast<unsigned>(std::max(outline.bottom - outline.top, 1));
    XDrawRectangle(display, root, gc.get(), outline.left, outline.top, width, height);
    XFlush(display);
    std::this_thread::sleep_for(kZoomStepTime);
    XDrawRectangle(display, root, gc.get(), outline.left, outline.top, width, height);
  }
  gc.reset();  // freed before the flush sends the last requests
  XFlush(display);
}

}  // namespace tolvenar::linux_port
