#pragma once
// The settings dialog's window on GTK 3: a fixed-size top-level window with the panel, the
// windowless labels and marks, the repeat combo box and the three buttons, laid out in twips at
// the screen's resolution and shown modally.
#include <gtk/gtk.h>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "runtime/embedded_data.h"
#include "settings/settings_store.h"
#include "settings_dialog/linux/dialog_buttons_linux.h"
#include "settings_dialog/linux/dialog_canvas_linux.h"
#include "settings_dialog/linux/repeat_box_linux.h"
#include "settings_dialog/form.h"
#include "settings_dialog/settings_dialog.h"
#include "settings_dialog/zoom.h"

namespace tolvenar::linux_port {

class GtkSettingsDialog final : public ModalWindow,
                                private WindowlessFormCanvas<GtkSettingsDialog> {
  friend class WindowlessFormCanvas<GtkSettingsDialog>;

 public:
  explicit GtkSettingsDialog(const SettingsDialogShared& shared);
  GtkSettingsDialog(const GtkSettingsDialog&) = delete;
  GtkSettingsDialog& operator=(const GtkSettingsDialog&) = delete;
  // A window still open goes without its close handlers.
  ~GtkSettingsDialog() override;

  // Makes the window and its controls, hidden.
  void Create();
  // The load handler, then the window shows with its backgrounds painted and the first control
  // focused.
  void Load();
  // Runs the events until the window has closed.
  void RunUntilClosed();
  bool IsOpen() const { return window_ != nullptr && !closed_; }

  // The parts, as the tests drive and inspect them.
  GtkWidget* Window() const { return window_; }
  Canvas& Client() { return client_; }
  Canvas& Panel() { return panel_; }
  // (This back end made each control of the form, so each is of its own kind.)
  GtkRepeatBox& RepeatBox() { return static_cast<GtkRepeatBox&>(controls_->BGM_Repeat); }
  DialogButton& SetButton() { return static_cast<DialogButton&>(controls_->Cmd_Set); }
  DialogButton& CancelButton() { return static_cast<DialogButton&>(controls_->Cmd_Can); }
  DialogButton& FileButton() { return static_cast<DialogButton&>(controls_->Cmd_File); }
  ImageElement& Mark(std::size_t kind) {
    return static_cast<ImageElement&>(*controls_->Img_BGM.at(kind));
  }
  Label& FileName() { return controls_->lbl_Fname; }

  WindowHandle Handle() override;
  // Outer size: the client area's (a window manager's frame is not known before it is shown).
  double WidthTwips() override;
  double HeightTwips() override;
  void MoveTo(std::int32_t left_twips, std::int32_t top_twips) override;
  void Close() override;
  // GTK tells the dialog of no change of resolution: it keeps the one it was laid out at.
  void LayOutAt(double, double, const PixelRect&) override {}

 private:
  EditableComboBox* AddComboBox(FormSurface on, const dialog_layout::Place& place) override;
  CommandControl* AddButton(FormSurface on, const dialog_layout::Place& place,
                            std::string_view caption, std::function<void()> on_click) override;

  Canvas& CanvasOf(FormSurface on) { return on == FormSurface::kPanel ? panel_ : client_; }
  TextElement::Look LookOf(Colour colour, TextLook look) const;
  void CloseNow();
  static gboolean OnCloseRequest(gpointer self);
  static gboolean OnDelete(GtkWidget* widget, GdkEvent* event, GtkSettingsDialog* self);

  SettingsDialogShared shared_;
  Scale scale_;
  CairoPictures pictures_;
  std::unique_ptr<SettingsDialog> core_;
  Canvas client_;
  Canvas panel_;
  std::vector<std::unique_ptr<GtkRepeatBox>> combo_boxes_;
  std::vector<std::unique_ptr<DialogButton>> buttons_;
  std::optional<SettingsDialogControls> controls_;
  GtkWidget* window_ = nullptr;  // referenced while this lives
  guint close_request_ = 0;
  bool closed_ = false;
  GMainLoop* loop_ = nullptr;  // while RunUntilClosed runs
};

// Creates the dialog, runs its load handler, shows it and returns when it has closed.
void ShowSettingsDialogModal(const SettingsDialogShared& shared);

}  // namespace tolvenar::linux_port
