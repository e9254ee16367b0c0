#include "settings_dialog/linux/dialog_buttons_linux.h"

#include <string>
#include <utility>

#include "settings_dialog/layout.h"

namespace tolvenar::linux_port {

void DialogButton::SetEnabled(bool enabled) {
  GtkWidget* widget = button_->widget();
  if (!enabled && gtk_widget_has_focus(widget)) {
    GtkWidget* top = gtk_widget_get_toplevel(widget);
    if (!gtk_widget_child_focus(top, GTK_DIR_TAB_FORWARD) || gtk_widget_has_focus(widget)) {
      gtk_window_set_focus(GTK_WINDOW(top), nullptr);
    }
  }
  button_->SetEnabled(enabled);
}

std::unique_ptr<DialogButton> MakeDialogButton(int width, int height, double twips_per_pixel,
                                               std::string_view caption, EmbeddedData& embedded,
                                               PointerLocator& pointer,
                                               std::function<void()> on_click) {
  CommandButtonPlacement placement;
  placement.width = width;
  placement.height = height;
  placement.twips_per_pixel = twips_per_pixel;
  placement.caption = std::string(caption);
  placement.font = dialog_layout::DialogFont();
  return std::make_unique<DialogButton>(
      CommandButtonGtk::Create(placement, embedded, pointer, std::move(on_click)));
}

}  // namespace tolvenar::linux_port
