#include "startup/startup.h"

#include <string>

#include "runtime/code_page_932.h"
#include "runtime/conversions.h"
#include "scene/saver_window.h"
#include "settings_dialog/layout.h"

namespace tolvenar {

std::int32_t PreviewParentHandle(std::string_view argument_text) {
  return ToInt32(ReadLeadingNumber(SkipChars(argument_text, 3))).value_or(0);
}

StartupMode ModeFromArgumentText(std::string_view argument_text, StartupWindows& windows) {
  const std::string mode = ModeLetter(argument_text);
  if (mode == "P") {
    return PreviewMode{windows, WindowHandleFromNumber(PreviewParentHandle(argument_text))};
  }
  if (mode == "C") return SettingsMode{windows};
  if (mode == "S") return SaverMode{windows, PointerDuringSaver::kHidden};
  if (argument_text.empty()) return SaverMode{windows, PointerDuringSaver::kLeftAlone};
  return NoWindowMode{};
}

StartupOutcome Main(const StartupMode& mode, Desktop& desktop, SettingsStore& store,
                    SettingsRecord& settings, std::int32_t& cursor_show_result) {
  // A second start recognises a running saver or an open settings dialog by its title; both
  // look-ups are always made, unless the saver runs beside others by design.
  const auto* saver = std::get_if<SaverMode>(&mode);
  if (!saver || saver->second_start == SecondStart::kEndsWhenOneRuns) {
    const bool saver_running = desktop.TopLevelWindowExists(std::string(kSaverWindowTitle));
    const bool dialog_open = desktop.TopLevelWindowExists(std::string(dialog_layout::kTitle));
    if (saver_running || dialog_open) return StartupOutcome::kEndProgram;
  }

  if (const auto* preview = std::get_if<PreviewMode>(&mode)) {
    preview->window.ShowPreview(preview->parent);
    return StartupOutcome::kLiveOn;
  }

  store.LoadSettings(settings);

  if (const auto* dialog = std::get_if<SettingsMode>(&mode)) {
    dialog->dialog.ShowSettingsDialog();
    return StartupOutcome::kEndProgram;
  }
  if (!saver) return StartupOutcome::kEndProgram;

  if (saver->pointer == PointerDuringSaver::kHidden) cursor_show_result = desktop.ShowCursor(0);
  saver->window.LoadSaverWindow();
  return StartupOutcome::kLiveOn;
}

}  // namespace tolvenar
