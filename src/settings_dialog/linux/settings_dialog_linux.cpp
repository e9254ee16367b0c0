#include "settings_dialog/linux/settings_dialog_linux.h"

#include <stdexcept>
#include <string>
#include <utility>

#include "runtime/linux/user_services_gtk.h"
#include "settings_dialog/layout.h"

namespace tolvenar::linux_port {
namespace {

namespace layout = dialog_layout;

FontDescription DialogFont(bool underline) {
  FontDescription font = layout::DialogFont();
  font.underline = underline;
  return font;
}

}  // namespace

GtkSettingsDialog::GtkSettingsDialog(const SettingsDialogShared& shared)
    : shared_(shared),
      scale_{shared.services.screen.TwipsPerPixelX(), shared.services.screen.TwipsPerPixelY()},
      pictures_(shared.embedded, &ImageOfPicture),
      client_(scale_, pictures_, shared.services.app_pointer),
      panel_(scale_, pictures_, shared.services.app_pointer) {}

GtkSettingsDialog::~GtkSettingsDialog() {
  if (close_request_ != 0) g_source_remove(close_request_);
  if (!window_) return;
  g_signal_handlers_disconnect_by_data(window_, this);
  if (!closed_) gtk_widget_destroy(window_);
  g_object_unref(window_);
}

EditableComboBox* GtkSettingsDialog::AddComboBox(FormSurface on, const layout::Place& place) {
  const PixelRect box = scale_.Box(place);
  combo_boxes_.push_back(
      std::make_unique<GtkRepeatBox>(box.right - box.left, box.bottom - box.top,
                                     -FontHeightOfPoints(layout::kFontPoints, scale_.tpp_y)));
  CanvasOf(on).Put(combo_boxes_.back()->widget(), box);
  return combo_boxes_.back().get();
}

CommandControl* GtkSettingsDialog::AddButton(FormSurface on, const layout::Place& place,
                                             std::string_view caption,
                                             std::function<void()> on_click) {
  const PixelRect box = scale_.Box(place);
  std::unique_ptr<DialogButton> button =
      MakeDialogButton(box.right - box.left, box.bottom - box.top, scale_.tpp_y, caption,
                       shared_.embedded, shared_.services.pointer, std::move(on_click));
  if (!button) return nullptr;
  buttons_.push_back(std::move(button));
  CanvasOf(on).Put(buttons_.back()->Button().widget(), box);
  return buttons_.back().get();
}

TextElement::Look GtkSettingsDialog::LookOf(Colour colour, TextLook look) const {
  TextStyle style{DialogFont(false), scale_.tpp_y, TextAlign::kLeft, false};
  switch (look) {
    case TextLook::kCentred:
      style.align = TextAlign::kCentre;
      break;
    case TextLook::kLink:
      style.font = DialogFont(true);
      break;
    case TextLook::kFileName:
      style.wrap = true;
      return {colour, style, true, true};
    case TextLook::kLine:
      break;
  }
  return {colour, style};
}

void GtkSettingsDialog::Create() {
  window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  g_object_ref(window_);
  gtk_window_set_title(GTK_WINDOW(window_), std::string(layout::kTitle).c_str());
  gtk_window_set_resizable(GTK_WINDOW(window_), FALSE);
  gtk_window_set_type_hint(GTK_WINDOW(window_), GDK_WINDOW_TYPE_HINT_DIALOG);
  g_signal_connect(window_, "delete-event", G_CALLBACK(OnDelete), this);

  client_.Create(scale_.X(layout::kClientWidth), scale_.Y(layout::kClientHeight),
                 layout::kWindowBackColour);
  gtk_container_add(GTK_CONTAINER(window_), client_.widget());
  const PixelRect panel_box = scale_.Box(layout::kPanel);
  panel_.Create(panel_box.right - panel_box.left, panel_box.bottom - panel_box.top,
                layout::kPanelBackColour);
  client_.Put(panel_.widget(), panel_box);

  const std::optional<SettingsDialogControls> controls = RealiseSettingsForm(*this, *this, core_);
  if (!controls) throw std::runtime_error("the settings dialog's controls could not be made");
  controls_.emplace(*controls);
  core_ = std::make_unique<SettingsDialog>(*controls_, shared_.services, shared_.settings,
                                           shared_.zoom_point);
  client_.AcceptInput();
  panel_.AcceptInput();
}

void GtkSettingsDialog::Load() {
  core_->Form_Load();
  gtk_widget_show(window_);
  core_->Form_Resize();
  client_.Invalidate();
  panel_.Invalidate();
  // The keyboard's focus comes to the dialog and stays there while the pointer goes elsewhere
  // (on a bare X server the focus would follow the pointer).
  gtk_window_present(GTK_WINDOW(window_));
  if (!gtk_window_get_focus(GTK_WINDOW(window_))) {
    gtk_widget_child_focus(window_, GTK_DIR_TAB_FORWARD);
  }
}

void GtkSettingsDialog::RunUntilClosed() {
  if (!IsOpen()) return;
  loop_ = g_main_loop_new(nullptr, FALSE);
  g_main_loop_run(loop_);
  g_main_loop_unref(loop_);
  loop_ = nullptr;
}

WindowHandle GtkSettingsDialog::Handle() { return HandleOf(window_); }

double GtkSettingsDialog::WidthTwips() { return scale_.X(layout::kClientWidth) * scale_.tpp_x; }

double GtkSettingsDialog::HeightTwips() { return scale_.Y(layout::kClientHeight) * scale_.tpp_y; }

void GtkSettingsDialog::MoveTo(std::int32_t left_twips, std::int32_t top_twips) {
  gtk_window_move(GTK_WINDOW(window_), scale_.X(left_twips), scale_.Y(top_twips));
}

void GtkSettingsDialog::Close() {
  if (close_request_ == 0 && !closed_) close_request_ = g_idle_add(OnCloseRequest, this);
}

// The unload handler runs, then the window goes and the modal run ends.
void GtkSettingsDialog::CloseNow() {
  if (closed_) return;
  closed_ = true;
  core_->Form_Unload();
  gtk_widget_destroy(window_);
  if (loop_) g_main_loop_quit(loop_);
}

gboolean GtkSettingsDialog::OnCloseRequest(gpointer self) {
  auto* dialog = static_cast<GtkSettingsDialog*>(self);
  dialog->close_request_ = 0;
  dialog->CloseNow();
  return G_SOURCE_REMOVE;
}

gboolean GtkSettingsDialog::OnDelete(GtkWidget*, GdkEvent*, GtkSettingsDialog* self) {
  self->CloseNow();
  return TRUE;
}

void ShowSettingsDialogModal(const SettingsDialogShared& shared) {
  GtkSettingsDialog dialog(shared);
  dialog.Create();
  dialog.Load();
  dialog.RunUntilClosed();
}

}  // namespace tolvenar::linux_port
