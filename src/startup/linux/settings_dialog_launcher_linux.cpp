#include "startup/linux/settings_dialog_launcher_linux.h"

#include <glib-unix.h>
#include <gtk/gtk.h>

namespace tolvenar::linux_port {
namespace {

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

SignalsCloseWindows::SignalsCloseWindows(TerminationSignals& signals)
    : watch_(signals.fd() >= 0 ? g_unix_fd_add(signals.fd(), G_IO_IN, OnTerminationSignal, &signals)
                               : 0) {}

SignalsCloseWindows::~SignalsCloseWindows() {
  if (watch_ != 0) g_source_remove(watch_);
}

}  // namespace tolvenar::linux_port
