#include "startup/emulation/host_arguments.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace tolvenar {
namespace {

constexpr std::optional<std::uint32_t> kNoWindow;

TEST(HostArguments, PicksTheRunAndTheWindowFromOptionsAndEnvironment) {
  struct Case {
    const char* name;
    std::vector<std::string> arguments;
    std::optional<std::string_view> xscreensaver_window;
    RunKind kind;
    std::optional<std::uint32_t> window;
    bool show_fps;
  } cases[] = {
      {"nothing: own window", {}, std::nullopt, RunKind::kOwnWindow, kNoWindow, false},
      {"own window ignores the host's window",
       {},
       "0x400001",
       RunKind::kOwnWindow,
       kNoWindow,
       false},
      {"root, hex host window", {"--root"}, "0x400001", RunKind::kRoot, 0x400001, false},
      {"root, decimal host window", {"-root"}, "4194305", RunKind::kRoot, 4194305, false},
      {"root, no host window", {"--root"}, std::nullopt, RunKind::kRoot, kNoWindow, false},
      {"root, garbage host window", {"--root"}, "0xZZ", RunKind::kRoot, kNoWindow, false},
      {"root, empty host window", {"--root"}, "", RunKind::kRoot, kNoWindow, false},
      {"root, host window 0", {"--root"}, "0", RunKind::kRoot, kNoWindow, false},
      {"root, host window past 32 bits",
       {"--root"},
       "0x100000000",
       RunKind::kRoot,
       kNoWindow,
       false},
      {"window id",
       {"--window-id", "0x2a00007"},
       std::nullopt,
       RunKind::kWindowId,
       0x2a00007,
       false},
      {"window id, decimal, one dash",
       {"-window-id", "42"},
       std::nullopt,
       RunKind::kWindowId,
       42,
       false},
      {"preview keeps --root: the window wins",
       {"--root", "--window-id", "0x10"},
       "0x20",
       RunKind::kWindowId,
       0x10,
       false},
      {"window id first, then root",
       {"--window-id", "0X1F", "--root"},
       std::nullopt,
       RunKind::kWindowId,
       0x1f,
       false},
      {"fps", {"--root", "--fps"}, std::nullopt, RunKind::kRoot, kNoWindow, true},
      {"last fps option wins",
       {"-fps", "--no-fps"},
       std::nullopt,
       RunKind::kOwnWindow,
       kNoWindow,
       false},
      {"settings", {"--settings"}, std::nullopt, RunKind::kSettings, kNoWindow, false},
      {"help", {"-h"}, std::nullopt, RunKind::kHelp, kNoWindow, false},
      {"registration, whatever else",
       {"--root", "-register-xscreensaver"},
       "0x1",
       RunKind::kRegisterXscreensaver,
       kNoWindow,
       false},
      {"unknown option", {"--root", "--fast"}, "0x1", RunKind::kUsageError, kNoWindow, false},
      {"a Windows switch", {"/s"}, std::nullopt, RunKind::kUsageError, kNoWindow, false},
      {"window id without number",
       {"--window-id"},
       std::nullopt,
       RunKind::kUsageError,
       kNoWindow,
       false},
      {"window id garbage",
       {"--window-id", "0x12g"},
       std::nullopt,
       RunKind::kUsageError,
       kNoWindow,
       false},
      {"window id negative",
       {"--window-id", "-5"},
       std::nullopt,
       RunKind::kUsageError,
       kNoWindow,
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const HostRun run = ParseHostArguments(c.arguments, c.xscreensaver_window);
    EXPECT_EQ(run.kind, c.kind);
    EXPECT_EQ(run.window, c.window);
    EXPECT_EQ(run.show_fps, c.show_fps);
    EXPECT_EQ(run.error.empty(), c.kind != RunKind::kUsageError);
  }
}

TEST(HostArguments, MusicOnlyFullScreenMonitorsOnlyWhereTheSaverHasTheScreen) {
  struct Case {
    RunKind kind;
    std::optional<std::uint32_t> window;
    bool draws, music, monitors, wayland;
  } cases[] = {
      {RunKind::kOwnWindow, kNoWindow, true, true, true, true},
      {RunKind::kRoot, kNoWindow, true, true, true, false},       // the (virtual) root
      {RunKind::kRoot, 0x400001, true, true, false, false},       // the host's per-monitor window
      {RunKind::kWindowId, 0x400001, true, false, false, false},  // a preview
      {RunKind::kSettings, kNoWindow, false, false, false, false},
      {RunKind::kRegisterXscreensaver, kNoWindow, false, false, false, false},
      {RunKind::kUsageError, kNoWindow, false, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.kind));
    EXPECT_EQ(DrawsSaver(c.kind), c.draws);
    EXPECT_EQ(MayPlayMusic(c.kind), c.music);
    EXPECT_EQ(CoversMonitors({c.kind, c.window, false, {}}), c.monitors);
    // Outside a Wayland session every run is an X client.
    EXPECT_EQ(DrawsOnWaylandSurfaces(c.kind, true), c.wayland);
    EXPECT_FALSE(DrawsOnWaylandSurfaces(c.kind, false));
  }
}

// A host's window is a preview when clearly smaller than the monitor it is on.
TEST(HostArguments, AHostWindowClearlySmallerThanItsMonitorIsAPreview) {
  const std::vector<PixelRect> monitors = {{0, 0, 1920, 1080}, {1920, 0, 2944, 768}};
  const struct {
    const char* what;
    PixelRect window;
    bool preview;
  } cases[] = {
      {"a saver window over the primary monitor", {0, 0, 1920, 1080}, false},
      {"a saver window over the second monitor", {1920, 0, 2944, 768}, false},
      {"a preview widget", {100, 100, 300, 250}, true},
      {"a preview on the smaller monitor", {2000, 100, 2200, 250}, true},
      {"half as high", {0, 0, 1920, 539}, true},
      {"a window of half the monitor's size", {0, 0, 960, 540}, false},
      {"off every monitor: the largest decides", {-500, -500, -300, -350}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(IsPreviewSized(c.window, monitors), c.preview);
  }
  EXPECT_FALSE(IsPreviewSized({0, 0, 200, 150}, {})) << "nothing to compare with";
}

}  // namespace
}  // namespace tolvenar
