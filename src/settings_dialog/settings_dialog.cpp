#include "settings_dialog/settings_dialog.h"

#include <cmath>
#include <cstdlib>

#include "runtime/conversions.h"
#include "runtime/screen_units.h"
#include "settings_dialog/layout.h"

namespace tolvenar {
namespace {

using namespace std::string_view_literals;

// The file chooser's texts travel through the A functions: code page 932 bytes.
// "BGMﾌｧｲﾙ (MP3 WAV)", NUL, "*.MP3;*.WAV", two NULs.
constexpr std::string_view kMusicFilter = "BGM\xCC\xA7\xB2\xD9 (MP3 WAV)\0*.MP3;*.WAV\0\0"sv;
// "ﾌｧｲﾙを開く"
constexpr std::string_view kOpenFileTitle = "\xCC\xA7\xB2\xD9\x82\xF0\x8A\x4A\x82\xAD";
constexpr std::uint32_t kPathBufferSize = 255;

constexpr std::int32_t kSwShowNormal = 1;
constexpr double kGradientDivisor = 3.142;
constexpr double kGradientPeak = 220;
constexpr std::int32_t kRepeatListLast = 30;

void PaintGradient(RuledSurface& surface, Colour (*colour_of)(std::int32_t)) {
  const double width = surface.WidthTwips();
  const double height = surface.HeightTwips();
  const std::int32_t last_row = ToInt32(height).value_or(0);
  for (std::int32_t y = 0; y <= last_row; ++y) {
    surface.HorizontalLine(0, y, width, colour_of(GradientLevel(y, height)));
  }
}

}  // namespace

std::string FormatHashHash(std::int32_t number) {
  return number == 0 ? std::string() : std::to_string(number);
}

std::optional<TwipsPoint> DialogPlacement(double screen_width, double screen_height,
                                          double dialog_width, double dialog_height) {
  const std::optional<std::int32_t> free_across = ToInt32(screen_width - dialog_width);
  const std::optional<std::int32_t> free_down = ToInt32(screen_height - dialog_height);
  if (!free_across || !free_down) return std::nullopt;
  return TwipsPoint{*free_across / 2, *free_down / 3};
}

std::int32_t GradientLevel(double y, double height) {
  const double k = height / kGradientDivisor;
  if (!(k > 0)) return 0;  // an empty surface has no rows to shade
  return ToInt32(std::fabs(std::sin(y / k) * kGradientPeak)).value_or(0);
}

Colour WindowGradientColour(std::int32_t level) {
  const auto v = static_cast<std::uint8_t>(level);
  return {v, v, static_cast<std::uint8_t>(level + 30)};
}

Colour PanelGradientColour(std::int32_t level) {
  const auto v = static_cast<std::uint8_t>(level + 30);
  return {v, v, v};
}

std::int16_t RepeatTrackFromText(const std::string& text, std::int16_t previous) {
  const std::optional<double> number = ParseNumber(text);
  if (!number) return 0;
  return ToInt16(*number).value_or(previous);
}

void SettingsDialog::InitializeButtons() {
  for (CommandControl* button : {&c_.Cmd_Set, &c_.Cmd_Can, &c_.Cmd_File}) button->Initialize();
}

void SettingsDialog::MarkChosenKind() {
  for (ImageControl* mark : c_.Img_BGM) mark->SetPicture(dialog_layout::kMarkUnselected);
  // A kind outside 0 to 2 has no mark: none is chosen then.
  if (settings_.MusicKind >= 0 && settings_.MusicKind <= 2) {
    c_.Img_BGM[static_cast<std::size_t>(settings_.MusicKind)]->SetPicture(
        dialog_layout::kMarkSelected);
  }
}

void SettingsDialog::Form_Load() {
  if (const std::optional<TwipsPoint> place =
          DialogPlacement(s_.screen.WidthTwips(), s_.screen.HeightTwips(), c_.window.WidthTwips(),
                          c_.window.HeightTwips())) {
    c_.window.MoveTo(place->left, place->top);
  }
  InitializeButtons();
  c_.BGM_Repeat.SetEnabled(false);
  MarkChosenKind();
  if (settings_.MusicKind == 1) c_.BGM_Repeat.SetEnabled(true);
  c_.Cmd_File.SetEnabled(settings_.MusicKind == 2);

  c_.BGM_Repeat.SetText(FormatHashHash(settings_.RepeatTrack));
  for (std::int32_t item = 0; item <= kRepeatListLast; ++item) {
    c_.BGM_Repeat.AddItem(FormatHashHash(item));
  }
  c_.lbl_Fname.SetCaption(settings_.MusicFile);

  const std::optional<PixelPoint> pointer = s_.pointer.CursorPosition();
  zoom_.ZoomPointX = pointer ? ToInt16(pointer->x).value_or(0) : 0;
  zoom_.ZoomPointY = pointer ? ToInt16(pointer->y).value_or(0) : 0;
  ZoomWindowOpen(s_.animation, zoom_, c_.window.Handle());

  s_.app_pointer.SetAppPointer(AppPointerShape::kDefault);
}

void SettingsDialog::Form_Resize() {
  PaintGradient(c_.window_surface, WindowGradientColour);
  PaintGradient(c_.panel_surface, PanelGradientColour);
}

void SettingsDialog::Form_DpiChanged(const DpiChange& change) {
  // Every place is kept in twips: at the new scale the window keeps its look, and the suggested
  // rectangle keeps it where the user moved it. The surfaces are new: their gradients too.
  c_.window.LayOutAt(TwipsPerPixel(change.dots_per_inch_x), TwipsPerPixel(change.dots_per_inch_y),
                     change.suggested);
  Form_Resize();
}

void SettingsDialog::Form_Unload() { ZoomWindowClose(s_.animation, zoom_, c_.window.Handle()); }

void SettingsDialog::SelectMusicKind(std::int16_t index) {
  settings_.MusicKind = index;
  c_.Cmd_File.SetEnabled(false);
  c_.BGM_Repeat.SetEnabled(false);
  MarkChosenKind();
  if (settings_.MusicKind == 1) c_.BGM_Repeat.SetEnabled(true);
  if (settings_.MusicKind == 2) c_.Cmd_File.SetEnabled(true);
}

void SettingsDialog::Cmd_Set_Click() {
  const std::string ini_file = s_.store.IniFile();
  s_.store.WriteIniString(kIniSection, kKeyMusicKind, std::to_string(settings_.MusicKind),
                          ini_file);
  settings_.RepeatTrack = RepeatTrackFromText(c_.BGM_Repeat.Text(), settings_.RepeatTrack);
  s_.store.WriteIniString(kIniSection, kKeyRepeatTrack, std::to_string(settings_.RepeatTrack),
                          ini_file);
  s_.store.WriteIniString(kIniSection, kKeyMusicFile, settings_.MusicFile, ini_file);
  c_.window.Close();
}

void SettingsDialog::Cmd_Can_Click() { c_.window.Close(); }

void SettingsDialog::Cmd_File_Click() {
  OpenFileRequest request;
  request.owner = c_.window.Handle();
  request.filter = std::string(kMusicFilter);
  request.file_buffer_size = kPathBufferSize;
  request.file_title_buffer_size = kPathBufferSize;
  request.initial_dir = settings_.MusicFolder;
  request.title = std::string(kOpenFileTitle);
  request.flags = 0;  // the chooser does not insist that the path or the file exists

  const FileChoice chosen = s_.file_chooser.OpenFileName(request);
  if (chosen.outcome == ChoiceOutcome::kNameNotHeld) {
    // Stored as a look-alike, the name would play another file or none: refused, and said why.
    s_.file_chooser.ShowRefusal(request.owner, std::string(dialog_layout::kNameNotHeldMessage));
    return;
  }
  if (chosen.outcome != ChoiceOutcome::kChosen) return;  // cancelled or failed: nothing changes
  settings_.MusicFile = chosen.path;
  c_.lbl_Fname.SetCaption(settings_.MusicFile);
  settings_.MusicFolder = GetFolderOfPath(settings_.MusicFile);
}

void SettingsDialog::lbl_URL_Click() {
  s_.app_pointer.SetAppPointer(AppPointerShape::kHourglass);
  s_.shell.Execute(c_.window.Handle(), "open", c_.lbl_URL.Caption(), "", "", kSwShowNormal);
  s_.app_pointer.SetAppPointer(AppPointerShape::kDefault);
}

}  // namespace tolvenar
