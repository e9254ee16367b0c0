#pragma once
// The program's entry: the second-instance guard, the mode and the one window it brings up.
#include <cstdint>
#include <string_view>
#include <variant>

#include "runtime/command_line.h"
#include "runtime/desktop.h"
#include "runtime/window_handle.h"
#include "settings/settings_store.h"

namespace tolvenar {

// The windows a mode brings up, one interface each, so that a program offers only the windows it
// has and a mode it cannot show cannot be asked of it.
class PreviewWindowLauncher {
 public:
  virtual ~PreviewWindowLauncher() = default;
  // Places the preview window into the preview area `parent` and shows it, not modally.
  virtual void ShowPreview(WindowHandle parent) = 0;
};

class SettingsDialogLauncher {
 public:
  virtual ~SettingsDialogLauncher() = default;
  // Shows the settings dialog modally, without an owner; returns when it has closed.
  virtual void ShowSettingsDialog() = 0;
};

class SaverWindowLauncher {
 public:
  virtual ~SaverWindowLauncher() = default;
  // Loads the saver window, whose load handler runs the whole saver.
  virtual void LoadSaverWindow() = 0;
};

// Every window a command line can ask for.
class StartupWindows : public PreviewWindowLauncher,
                       public SettingsDialogLauncher,
                       public SaverWindowLauncher {};

// What the program was started to do, with the window that does it.
struct PreviewMode {
  PreviewWindowLauncher& window;
  WindowHandle parent;
};
struct SettingsMode {
  SettingsDialogLauncher& dialog;
};
enum class PointerDuringSaver {
  kHidden,     // started to save the screen: hidden, and shown again when the saver window closes
  kLeftAlone,  // started with no arguments
};
// Whether a saver start first looks for a running saver or an open settings dialog and ends when
// it finds one. The Windows program is started once at a time and looks; the Linux saver is
// started once per monitor by its host, side by side, so it never looks (its music lock keeps one
// of them playing).
enum class SecondStart {
  kEndsWhenOneRuns,
  kRunsBeside,
};
struct SaverMode {
  SaverWindowLauncher& window;
  PointerDuringSaver pointer;
  SecondStart second_start = SecondStart::kEndsWhenOneRuns;
};
// Any other switch: the settings are read and the program ends.
struct NoWindowMode {};
using StartupMode = std::variant<PreviewMode, SettingsMode, SaverMode, NoWindowMode>;

// What the program does once Main returns.
enum class StartupOutcome {
  kEndProgram,  // end at once: guard, after the settings dialog, any other switch
  kLiveOn,      // live on in the window just brought up until it has gone
};

// The preview parent handle: the text from the fourth character on, read as a number and rounded
// half to even; 0 when empty, not a number or outside 32 bits.
std::int32_t PreviewParentHandle(std::string_view argument_text);

// The mode a screen saver's command line selects by its mode letter; an empty argument text runs
// the saver with the pointer left alone.
StartupMode ModeFromArgumentText(std::string_view argument_text, StartupWindows& windows);

// Runs the start-up steps of `mode` in order. `cursor_show_result` receives the display count when
// the saver mode hides the pointer; the saver window hands it back when it closes.
StartupOutcome Main(const StartupMode& mode, Desktop& desktop, SettingsStore& store,
                    SettingsRecord& settings, std::int32_t& cursor_show_result);

}  // namespace tolvenar
