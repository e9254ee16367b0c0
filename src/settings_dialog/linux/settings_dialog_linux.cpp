#include "settings_dialog/linux/settings_dialog_linux.h"

#include <string>
#include <utility>

#include "runtime/linux/user_services_gtk.h"
#include "settings_dialog/layout.h"

namespace tolvenar::linux_port {
namespace {

namespace layout = dialog_layout;

FontDescription DialogFont(bool underline) {
  FontDescription font;
  font.face_name = std::string(layout::kFontName);
  font.size_points = layout::kFontPoints;
  font.weight = static_cast<std::int16_t>(layout::kFontWeight);
  font.charset = static_cast<std::int16_t>(layout::kFontCharset);
  font.underline = underline;
  return font;
}

}  // namespace

GtkSettingsDialog::GtkSettingsDialog(const SettingsDialogShared& shared)
    : shared_(shared),
      scale_{shared.services.screen.TwipsPerPixelX(), shared.services.screen.TwipsPerPixelY()},
      pictures_(shared.embedded),
      client_(scale_, pictures_, shared.services.app_pointer),
      panel_(scale_, pictures_, shared.services.app_pointer) {}

GtkSettingsDialog::~GtkSettingsDialog() {
  if (close_request_ != 0) g_source_remove(close_request_);
  if (!window_) return;
  g_signal_handlers_disconnect_by_data(window_, this);
  if (!closed_) gtk_widget_destroy(window_);
  g_object_unref(window_);
}

std::unique_ptr<DialogButton> GtkSettingsDialog::MakeButton(Canvas& on, const layout::Place& place,
                                                            std::string_view caption,
                                                            std::function<void()> on_click) {
  const PixelRect box = scale_.Box(place);
  std::unique_ptr<DialogButton> button =
      MakeDialogButton(box.right - box.left, box.bottom - box.top, scale_.tpp_y, caption,
                       shared_.embedded, shared_.services.pointer, std::move(on_click));
  on.Put(button->Button().widget(), box);
  return button;
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

  const TextStyle line{DialogFont(false), scale_.tpp_y, TextAlign::kLeft, false};
  const TextElement::Look black{layout::kBlack, line};
  const TextElement::Look white{layout::kWhite, line};
  const auto fits_text = [](std::function<void()> on_press = nullptr,
                            std::function<void()> on_click = nullptr, bool hand = false) {
    return WindowlessElements::Element{{}, std::move(on_press), std::move(on_click), hand, true};
  };

  // The panel, top to bottom.
  panel_.AddOutline(layout::kHeadingFrame);
  TextStyle centred = line;
  centred.align = TextAlign::kCentre;
  panel_.AddText(layout::kHeading, layout::kHeadingCaption, {layout::kBlack, centred});
  for (std::int16_t kind = 0; kind < 3; ++kind) {
    marks_[static_cast<std::size_t>(kind)] =
        &panel_.AddImage(layout::kMarks[kind], [this, kind] { core_->Img_BGM_MouseDown(kind); });
    panel_.AddText(layout::kChoiceLabels[kind], layout::kChoiceCaptions[kind], black,
                   fits_text([this, kind] { core_->lbl_BGM_MouseDown(kind); }));
  }
  const PixelRect repeat_box = scale_.Box(layout::kRepeatBox);
  repeat_box_ = std::make_unique<GtkRepeatBox>(
      repeat_box.right - repeat_box.left, repeat_box.bottom - repeat_box.top,
      -FontHeightOfPoints(layout::kFontPoints, scale_.tpp_y));
  panel_.Put(repeat_box_->widget(), repeat_box);
  panel_.AddText(layout::kRepeatLabel, layout::kRepeatCaption, black, fits_text());
  TextStyle wrapping = line;
  wrapping.wrap = true;
  file_name_ = &panel_.AddText(layout::kFileName, "", {layout::kBlack, wrapping, true, true});

  file_button_ = MakeButton(panel_, layout::kFileButton, layout::kFileCaption,
                            [this] { core_->Cmd_File_Click(); });
  set_button_ = MakeButton(client_, layout::kSetButton, layout::kSetCaption,
                           [this] { core_->Cmd_Set_Click(); });
  cancel_button_ = MakeButton(client_, layout::kCancelButton, layout::kCancelCaption,
                              [this] { core_->Cmd_Can_Click(); });

  // The strip below the panel.
  client_.AddText(layout::kCredit, layout::kCreditCaption, white, fits_text());
  TextStyle underlined = line;
  underlined.font = DialogFont(true);
  Label& link = client_.AddText(layout::kLink, layout::kLinkCaption, {layout::kWhite, underlined},
                                fits_text(
                                    nullptr, [this] { core_->lbl_URL_Click(); }, true));

  core_ = std::make_unique<SettingsDialog>(SettingsDialogControls{*this,
                                                                  client_.Surface(),
                                                                  panel_.Surface(),
                                                                  *set_button_,
                                                                  *cancel_button_,
                                                                  *file_button_,
                                                                  *repeat_box_,
                                                                  {marks_[0], marks_[1], marks_[2]},
                                                                  *file_name_,
                                                                  link},
                                           shared_.services, shared_.settings, shared_.zoom_point);
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
