#pragma once
// The settings dialog Tolvenar_P: shows the settings record, lets the user pick the music kind,
// the CD track to repeat and the music file, and writes them to the INI file.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "runtime/embedded_data.h"
#include "runtime/user_services.h"
#include "settings/settings_store.h"
#include "settings_dialog/controls.h"
#include "settings_dialog/zoom.h"

namespace tolvenar {

// A skinned push button as the dialog uses it.
class CommandControl : public EnabledSwitch {
 public:
  // Starts the button's hover and focus looks (called once by the dialog while it loads).
  virtual void Initialize() = 0;
};

struct SettingsDialogControls {
  ModalWindow& window;
  RuledSurface& window_surface;  // the client area
  RuledSurface& panel_surface;   // Pic_C(0)
  CommandControl& Cmd_Set;
  CommandControl& Cmd_Can;
  CommandControl& Cmd_File;
  EditableComboBox& BGM_Repeat;
  std::array<ImageControl*, 3> Img_BGM;  // indexed by music kind
  Label& lbl_Fname;
  Label& lbl_URL;
};

struct SettingsDialogServices {
  SettingsStore& store;
  ScreenMetrics& screen;
  PointerLocator& pointer;
  AppPointer& app_pointer;
  FileChooser& file_chooser;
  Shell& shell;
  WindowAnimation& animation;
};

// The "##" pattern: the digits without leading zeros, a minus sign before a negative number, the
// empty text for 0.
std::string FormatHashHash(std::int32_t number);

// What the dialog is handed: the values shared across the run and the platform's services.
struct SettingsDialogShared {
  SettingsRecord& settings;
  ZoomPoint& zoom_point;
  EmbeddedData& embedded;
  SettingsDialogServices services;
};

// Where the dialog goes, in twips: centred across, a third of the free height down.
struct TwipsPoint {
  std::int32_t left = 0;
  std::int32_t top = 0;
};
std::optional<TwipsPoint> DialogPlacement(double screen_width, double screen_height,
                                          double dialog_width, double dialog_height);

// The brightness v of gradient row y on a surface `height` twips high: |sin(y / k) * 220|
// rounded half to even, k = height / 3.142.
std::int32_t GradientLevel(double y, double height);
// The colour of a row of the window's gradient (v, v, v + 30) and of the panel's (v + 30 each).
Colour WindowGradientColour(std::int32_t level);
Colour PanelGradientColour(std::int32_t level);

// The window came onto a monitor of another resolution: its new dots per inch and the outer
// rectangle (screen pixels) the system suggests for it there.
struct DpiChange {
  std::int32_t dots_per_inch_x = 0;
  std::int32_t dots_per_inch_y = 0;
  PixelRect suggested;
};

// What the repeat field's text is saved as. Text that is not a number gives 0; a number is
// rounded half to even; a number outside 16 bits cannot be stored and leaves `previous`.
std::int16_t RepeatTrackFromText(const std::string& text, std::int16_t previous);

class SettingsDialog {
 public:
  SettingsDialog(const SettingsDialogControls& controls, const SettingsDialogServices& services,
                 SettingsRecord& settings, ZoomPoint& zoom_point)
      : c_(controls), s_(services), settings_(settings), zoom_(zoom_point) {}

  // Set-up while the window exists but is hidden; ends with the opening zoom.
  void Form_Load();
  // Paints the two background gradients (the frame is fixed: runs once, when first shown).
  void Form_Resize();
  // Plays the closing zoom.
  void Form_Unload();
  // Lays the dialog out again at the new resolution, where the system suggests, and repaints it.
  void Form_DpiChanged(const DpiChange& change);

  void Cmd_Set_Click();
  void Cmd_Can_Click();
  void Cmd_File_Click();
  void lbl_URL_Click();
  // A press of any mouse button on a mark or a choice text picks its kind.
  void Img_BGM_MouseDown(std::int16_t index) { SelectMusicKind(index); }
  void lbl_BGM_MouseDown(std::int16_t index) { SelectMusicKind(index); }

  void SelectMusicKind(std::int16_t index);
  void InitializeButtons();

 private:
  void MarkChosenKind();

  SettingsDialogControls c_;
  SettingsDialogServices s_;
  SettingsRecord& settings_;
  ZoomPoint& zoom_;
};

}  // namespace tolvenar
