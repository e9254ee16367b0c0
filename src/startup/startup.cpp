#include "startup/startup.h"

#include "runtime/code_page_932.h"
#include "runtime/conversions.h"
#include "scene/saver_window.h"
#include "settings_dialog/layout.h"

namespace tolvenar {

std::int32_t PreviewParentHandle(std::string_view argument_text) {
  return ToInt32(ReadLeadingNumber(SkipChars(argument_text, 3))).value_or(0);
}

StartupOutcome Main(StartupServices services, SettingsRecord& settings,
                    std::int32_t& cursor_show_result) {
  // A second start recognises a running saver or an open settings dialog by its title; both
  // look-ups are always made.
  const bool saver_running = services.desktop.TopLevelWindowExists(std::string(kSaverWindowTitle));
  const bool dialog_open = services.desktop.TopLevelWindowExists(std::string(dialog_layout::kTitle));
  if (saver_running || dialog_open) return StartupOutcome::kEndProgram;

  const std::string argument_text = services.process.ArgumentText();
  const std::string mode = ModeLetter(argument_text);

  if (mode == "P") {
    services.windows.ShowPreview(WindowHandleFromNumber(PreviewParentHandle(argument_text)));
    return StartupOutcome::kLiveOn;
  }

  services.store.LoadSettings(settings);

  if (mode == "C") {
    services.windows.ShowSettingsDialog();
    return StartupOutcome::kEndProgram;
  }
  if (mode != "S" && !argument_text.empty()) return StartupOutcome::kEndProgram;

  if (mode == "S") cursor_show_result = services.desktop.ShowCursor(0);
  services.windows.LoadSaverWindow();
  return StartupOutcome::kLiveOn;
}

}  // namespace tolvenar
