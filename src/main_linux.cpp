// Program entry of the native Linux saver and the one place that makes the platform's services:
// the host's options pick the run, the saver window is handed what it uses, then the start-up
// module takes over in the saver mode.
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string_view>
#include <utility>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "music/background_music.h"
#include "music/linux/media_backend_linux.h"
#include "music/linux/wave_sound_linux.h"
#include "music/emulation/mci_emulator.h"
#include "music/shared_music.h"
#include "music/emulation/silent_media.h"
#include "runtime/linux/desktop_linux.h"
#include "runtime/linux/embedded_data_linux.h"
#include "runtime/linux/file_lock.h"
#include "runtime/linux/owners_wayland.h"
#include "runtime/linux/environment_linux.h"
#include "runtime/linux/termination_signals.h"
#include "runtime/emulation/memory_folder_process.h"
#include "runtime/randomness.h"
#include "runtime/emulation/user_folders.h"
#include "scene/frame_pacing.h"
#include "scene/linux/direct3d_scene_linux.h"
#include "scene/linux/direct3d_scene_wayland.h"
#include "scene/linux/saver_window_x11.h"
#include "scene/linux/x_display.h"
#include "scene/saver_window_parts.h"
#include "startup/emulation/host_arguments.h"
#include "startup/linux/host_run_linux.h"
#include "startup/linux/startup_windows_linux.h"
#include "startup/linux/user_settings_linux.h"
#include "startup/startup.h"

int main(int argc, char** argv) {
  using namespace tolvenar;
  using namespace tolvenar::linux_port;

  // First of all, so that a host's SIGTERM during start-up ends the run cleanly too.
  TerminationSignals signals;

  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const std::optional<std::string> xscreensaver_window = EnvironmentVariable("XSCREENSAVER_WINDOW");
  const HostRun run = ParseHostArguments(
      arguments,
      xscreensaver_window ? std::optional<std::string_view>(*xscreensaver_window) : std::nullopt);
  if (const std::optional<int> status = RunHostCommand(run)) return *status;

  const std::optional<std::string> max_fps_text = EnvironmentVariable(kMaxFpsVariable);
  const std::uint32_t max_fps =
      ParseMaxFps(max_fps_text ? std::optional<std::string_view>(*max_fps_text) : std::nullopt);

  // In a Wayland session the full-screen run is the compositor's own client; where the compositor
  // cannot be reached, the session's X server serves as for every other run.
  UniqueWaylandDisplay wayland;
  if (DrawsOnWaylandSurfaces(run.kind, EnvironmentVariable("WAYLAND_DISPLAY").has_value())) {
    wayland.reset(wl_display_connect(nullptr));
  }
  std::optional<XDisplay> display;
  if (!wayland) {
    display.emplace();
    if (!display->get()) {
      (void)std::fputs("tolvenar: cannot open the display\n", stderr);
      return 1;
    }
  }
  // Said before anything starts, the music among it: a saver that cannot draw plays nothing.
  std::optional<WaylandEgl> egl;
  if (wayland) egl.emplace(wayland.get());
  if (egl && !egl->OffersOpenGl()) {
    (void)std::fputs(
        "tolvenar: the compositor offers no OpenGL (EGL), so the saver cannot draw here\n", stderr);
    return 1;
  }
  if (display && !DisplayHasOpenGl(display->get())) {
    (void)std::fputs(
        "tolvenar: the display offers no OpenGL (GLX), so the saver cannot draw here\n", stderr);
    return 1;
  }

  const UserEnvironment environment = UserEnvironmentOfProcess();
  // The saver window reads from the command line whether start-up hid the pointer, as on Windows.
  UserSettingsFile user_settings(environment, std::string(kSaverArgumentText));
  // The saver's own files (the face pictures) stay in memory.
  MemoryFolderProcess saver_process(user_settings.process());

  LinuxDesktop desktop;
  LinuxEmbeddedData embedded;
  LinearRandomness randomness;

  // One of the user's full-screen savers (one per monitor) plays the music, and another takes it
  // over when that one ends; a preview never plays.
  std::unique_ptr<FileLock> music_lock;
  if (MayPlayMusic(run.kind) && !(display && IsHostsPreview(display->get(), run))) {
    if (const std::optional<std::string> lock = MusicLockPath(environment)) {
      music_lock = std::make_unique<FileLock>(*lock);
    }
  }
  std::unique_ptr<MediaBackend> media;
  std::unique_ptr<WaveSound> wave_player;
  if (music_lock) {
    media = std::make_unique<GstMediaBackend>();
    wave_player = std::make_unique<GstWaveSound>();
  } else {
    media = std::make_unique<SilentMediaBackend>();
    wave_player = std::make_unique<tolvenar::SilentWaveSound>();
  }
  MciEmulator mci(*media);

  SettingsRecord settings;
  std::int32_t cursor_show_result = 0;
  BackgroundMusic music(mci, *wave_player, settings);
  std::optional<SharedMusic> shared_music;
  if (music_lock) shared_music.emplace(music, *music_lock);

  SaverWindowParts parts;
  parts.music = shared_music ? static_cast<Music*>(&*shared_music) : &music;
  parts.process = &saver_process;
  parts.desktop = &desktop;
  parts.embedded = &embedded;
  parts.randomness = &randomness;
  parts.settings = &settings;
  parts.cursor_show_result = &cursor_show_result;
  parts.max_fps = max_fps;
  const auto mode_of = [](SaverWindowLauncher& saver) {
    return SaverMode{saver, PointerDuringSaver::kHidden, SecondStart::kRunsBeside};
  };
  // The music lock, tried again while another saver holds it.
  std::function<void()> retry_music;
  if (shared_music) retry_music = [&shared_music] { shared_music->TryAgain(); };
  if (wayland) {
    WaylandSaverWindowSetup setup;
    setup.display = wayland.get();
    setup.signals = &signals;
    setup.make_scene = [&saver_process, &randomness, &run](WaylandCanvas& canvas) {
      return CreateEglScene(canvas, saver_process, randomness, run.show_fps);
    };
    setup.every_interval = retry_music;
    setup.interval_ms = kMusicLockRetryIntervalMs;
    WaylandSaverWindowLauncher saver(parts, std::move(setup));
    Main(mode_of(saver), desktop, user_settings.store(), settings, cursor_show_result);
    return 0;
  }
  X11SaverWindowSetup setup;
  setup.display = display->get();
  setup.place = PlaceOf(run);
  setup.signals = &signals;
  setup.make_scene = [&saver_process, &randomness, &run](Display* x, Window window) {
    return CreateGlScene(x, window, saver_process, randomness, run.show_fps);
  };
  setup.every_interval = retry_music;
  setup.interval_ms = kMusicLockRetryIntervalMs;
  X11SaverWindowLauncher saver(parts, std::move(setup));
  Main(mode_of(saver), desktop, user_settings.store(), settings, cursor_show_result);
  return 0;
}
