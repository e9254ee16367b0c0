#pragma once
// The program's entry: the second-instance guard, the command line and the choice of mode.
#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/command_line.h"
#include "runtime/desktop.h"
#include "runtime/process.h"
#include "runtime/window_handle.h"
#include "settings/settings_store.h"

namespace tolvenar {

// The one window each mode brings up.
class StartupWindows {
 public:
  virtual ~StartupWindows() = default;
  // Places the preview window into the preview area `parent` and shows it, not modally.
  virtual void ShowPreview(WindowHandle parent) = 0;
  // Shows the settings dialog modally, without an owner; returns when it has closed.
  virtual void ShowSettingsDialog() = 0;
  // Loads the saver window, whose load handler runs the whole saver.
  virtual void LoadSaverWindow() = 0;
};

// What the program does once Main returns.
enum class StartupOutcome {
  kEndProgram,  // end at once: guard, after the settings dialog, any other switch
  kLiveOn,      // live on in the window just brought up until it has gone
};

// The preview parent handle: the text from the fourth character on, read as a number and rounded
// half to even; 0 when empty, not a number or outside 32 bits.
std::int32_t PreviewParentHandle(std::string_view argument_text);

struct StartupServices {
  Desktop& desktop;
  Process& process;
  SettingsStore& store;
  StartupWindows& windows;
};

// Runs the start-up steps in order. `cursor_show_result` receives the display count when the
// saver mode hides the pointer; the saver window hands it back when it closes.
StartupOutcome Main(StartupServices services, SettingsRecord& settings,
                    std::int32_t& cursor_show_result);

}  // namespace tolvenar
