#include "startup/emulation/host_arguments.h"

#include <cstddef>
#include <cstdint>
#include <utility>

namespace tolvenar {
namespace {

// "--root" and "-root" are one option; the result keeps a single leading dash.
std::string_view OneDash(std::string_view option) {
  if (option.size() > 2 && option.substr(0, 2) == "--") option.remove_prefix(1);
  return option;
}

}  // namespace

std::optional<std::uint32_t> ParseWindowNumber(std::string_view text) {
  unsigned base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : text) {
    unsigned digit = 0;
    if (c >= '0' && c <= '9') {
      digit = static_cast<unsigned>(c - '0');
    } else if (base == 16 && c >= 'a' && c <= 'f') {
      digit = static_cast<unsigned>(c - 'a' + 10);
    } else if (base == 16 && c >= 'A' && c <= 'F') {
      digit = static_cast<unsigned>(c - 'A' + 10);
    } else {
      return std::nullopt;
    }
    value = value * base + digit;
    if (value > UINT32_MAX) return std::nullopt;
  }
  if (value == 0) return std::nullopt;
  return static_cast<std::uint32_t>(value);
}

HostRun ParseHostArguments(const std::vector<std::string>& arguments,
                           std::optional<std::string_view> xscreensaver_window) {
  bool root = false;
  bool settings = false;
  bool register_xscreensaver = false;
  std::optional<std::uint32_t> window_id;
  HostRun run;
  auto usage_error = [&run](std::string error) {
    run.kind = RunKind::kUsageError;
    run.error = std::move(error);
    run.window.reset();
    return run;
  };
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view option = OneDash(arguments[i]);
    if (option == "-root") {
      root = true;
    } else if (option == "-window-id") {
      if (i + 1 == arguments.size()) return usage_error("-window-id needs a window number");
      window_id = ParseWindowNumber(arguments[++i]);
      if (!window_id) return usage_error("not a window number: " + arguments[i]);
    } else if (option == "-fps") {
      run.show_fps = true;
    } else if (option == "-no-fps") {
      run.show_fps = false;
    } else if (option == "-settings") {
      settings = true;
    } else if (option == "-register-xscreensaver") {
      register_xscreensaver = true;
    } else if (option == "-help" || option == "-h") {
      run.kind = RunKind::kHelp;
      return run;
    } else {
      return usage_error("unknown option: " + arguments[i]);
    }
  }
  // A host's preview names its window and still carries the saver's own --root: the window wins.
  if (register_xscreensaver) {
    run.kind = RunKind::kRegisterXscreensaver;
  } else if (settings) {
    run.kind = RunKind::kSettings;
  } else if (window_id) {
    run.kind = RunKind::kWindowId;
    run.window = window_id;
  } else if (root) {
    run.kind = RunKind::kRoot;
    if (xscreensaver_window) run.window = ParseWindowNumber(*xscreensaver_window);
  }
  return run;
}

bool DrawsSaver(RunKind kind) {
  return kind == RunKind::kOwnWindow || kind == RunKind::kRoot || kind == RunKind::kWindowId;
}

bool MayPlayMusic(RunKind kind) { return kind == RunKind::kOwnWindow || kind == RunKind::kRoot; }

bool IsPreviewSized(const PixelRect& window, const std::vector<PixelRect>& monitors) {
  const auto width = [](const PixelRect& r) { return std::int64_t{r.right} - r.left; };
  const auto height = [](const PixelRect& r) { return std::int64_t{r.bottom} - r.top; };
  const PixelPoint centre{
      static_cast<std::int32_t>((std::int64_t{window.left} + window.right) / 2),
      static_cast<std::int32_t>((std::int64_t{window.top} + window.bottom) / 2)};
  const PixelRect* monitor = nullptr;
  for (const PixelRect& m : monitors) {
    if (m.Contains(centre)) {
      monitor = &m;
      break;
    }
    if (!monitor || width(m) * height(m) > width(*monitor) * height(*monitor)) monitor = &m;
  }
  if (!monitor) return false;
  return 2 * width(window) < width(*monitor) || 2 * height(window) < height(*monitor);
}

bool CoversMonitors(const HostRun& run) {
  return run.kind == RunKind::kOwnWindow || (run.kind == RunKind::kRoot && !run.window);
}

bool DrawsOnWaylandSurfaces(RunKind kind, bool in_wayland_session) {
  return in_wayland_session && kind == RunKind::kOwnWindow;
}

std::string HostUsage(std::string_view program_name) {
  const std::string name(program_name);
  return "usage: " + name +
         " [--root | --window-id 0xXID] [--fps | --no-fps]\n"
         "       " +
         name +
         " --settings\n"
         "       " +
         name +
         " --register-xscreensaver\n"
         "With no option the saver runs full screen in a window of its own until a key or a mouse\n"
         "button is pressed. --root draws on $XSCREENSAVER_WINDOW, else on the virtual root or "
         "the\n"
         "root window; --window-id draws into the given window until it is destroyed.\n"
         "--register-xscreensaver adds the saver to the display modes in ~/.xscreensaver.\n";
}

}  // namespace tolvenar
