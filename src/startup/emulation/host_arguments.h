#pragma once
// The command line of the saver as desktop screen-saver hosts start it: the hack options they pass
// and the window they name in the environment, turned into what the program runs.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/pixel_geometry.h"

namespace tolvenar {

enum class RunKind {
  kOwnWindow,   // no options: a full-screen window of the program's own, ended by input
  kRoot,        // --root: the host's saver window, else the virtual root, else the root window
  kWindowId,    // --window-id: a host's window (a settings preview), followed until destroyed
  kSettings,    // --settings: the settings dialog
  kHelp,        // --help: the usage on standard output
  kUsageError,  // anything else: the usage on standard error, exit status 1
  // --register-xscreensaver: the saver added to the display modes in ~/.xscreensaver
  kRegisterXscreensaver,
};

struct HostRun {
  RunKind kind = RunKind::kOwnWindow;
  // The window to draw on: --window-id's, or for --root a valid $XSCREENSAVER_WINDOW. Nothing in
  // a --root run means the virtual root, else the root window.
  std::optional<std::uint32_t> window;
  bool show_fps = false;
  std::string error;  // what was wrong, for kUsageError
};

// The host's option text as hacks take it: each option with one or two leading dashes.
HostRun ParseHostArguments(const std::vector<std::string>& arguments,
                           std::optional<std::string_view> xscreensaver_window);

// An X window number: decimal, or hexadecimal after 0x / 0X; nothing when it is not a whole
// number, is 0 or does not fit 32 bits.
std::optional<std::uint32_t> ParseWindowNumber(std::string_view text);

// Whether the run draws through the core's saver window (as its /s mode).
bool DrawsSaver(RunKind kind);
// Music plays only where the saver has the screen: never in a preview.
bool MayPlayMusic(RunKind kind);
// Whether a host's window (screen pixels) is a settings preview rather than a saver's screen:
// some hosts run the --root command line in their small preview widget. It is one when it is less
// than half as wide or half as high as the monitor under its centre (the largest monitor when no
// monitor is under it); a host's saver window covers its monitor.
bool IsPreviewSized(const PixelRect& window, const std::vector<PixelRect>& monitors);
// Where the saver draws over the whole screen, the scene learns the monitors; in a host's window
// (a preview, or the host's own per-monitor saver window) that window is the one screen.
bool CoversMonitors(const HostRun& run);

// Whether the run draws on Wayland surfaces of its own, one per output: the program's own
// full-screen run in a Wayland session. A host's window and the root window are X windows, which
// a Wayland session offers through its X server.
bool DrawsOnWaylandSurfaces(RunKind kind, bool in_wayland_session);

// The argument text the core's Main reads for a run that draws the saver.
inline constexpr std::string_view kSaverArgumentText = "/s";

// The usage text (ends in a newline).
std::string HostUsage(std::string_view program_name);

}  // namespace tolvenar
