// Program entry of the native Linux saver and the one place that makes the platform's services:
// the host's options pick the run, the saver window is handed what it uses, then the start-up
// module takes over as it does for the Windows saver's /s.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
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
#include "runtime/linux/process_linux.h"
#include "runtime/linux/profile_file_linux.h"
#include "runtime/linux/termination_signals.h"
#include "runtime/emulation/memory_folder_process.h"
#include "runtime/randomness.h"
#include "runtime/emulation/user_folders.h"
#include "scene/frame_pacing.h"
#include "scene/linux/direct3d_scene_linux.h"
#include "scene/linux/saver_window_x11.h"
#include "scene/linux/x_display.h"
#include "settings/settings_store.h"
#include "startup/emulation/host_arguments.h"
#include "startup/linux/settings_program_linux.h"
#include "startup/linux/startup_windows_linux.h"
#include "startup/startup.h"
#include "startup/emulation/xscreensaver_registration.h"

namespace {

using namespace tolvenar;
using namespace tolvenar::linux_port;

std::optional<std::string> Environment(const char* name) {
  const char* value = std::getenv(name);
  if (!value) return std::nullopt;
  return std::string(value);
}

SaverWindowPlace PlaceOf(const HostRun& run) {
  SaverWindowPlace place;
  place.covers_monitors = CoversMonitors(run);
  if (run.kind == RunKind::kOwnWindow) {
    place.target = SaverTarget::kOwnWindow;
  } else if (run.window) {
    place.target = SaverTarget::kHostWindow;
    place.window = *run.window;
  } else {
    place.target = SaverTarget::kRootWindow;
  }
  return place;
}

// A --root run in a host's window that is clearly smaller than its monitor: a host's settings
// preview runs the saver's command line there.
bool IsHostsPreview(Display* display, const HostRun& run) {
  if (!run.window) return false;
  const std::optional<PixelRect> window = WindowRectOnScreen(display, *run.window);
  return window && IsPreviewSized(*window, MonitorRects(display));
}

int RunSaver(const HostRun& run, TerminationSignals& signals, std::uint32_t max_fps) {
  XDisplay display;
  if (!display.get()) {
    (void)std::fputs("tolvenar: cannot open the display\n", stderr);
    return 1;
  }
  // Said before anything starts, the music among it: a saver that cannot draw plays nothing.
  if (!DisplayHasOpenGl(display.get())) {
    (void)std::fputs(
        "tolvenar: the display offers no OpenGL (GLX), so the saver cannot draw here\n", stderr);
    return 1;
  }

  const UserEnvironment environment{Environment("TOLVENAR_INI"), Environment("XDG_CONFIG_HOME"),
                                    Environment("XDG_RUNTIME_DIR"), Environment("HOME")};
  // The settings file's folder is the program folder as the settings store sees it; without a
  // home there is none, and the saver runs with its defaults.
  const std::string ini = SettingsFilePath(environment).value_or("");
  const std::string ini_folder = ini.empty() ? std::string() : ParentFolder(ini);
  LinuxProcess disk_process(std::string(kSaverArgumentText), ini_folder);
  LinuxProfileFile profile(IniFilePath(disk_process.ProgramDirectory()), ini);
  SettingsStore store(profile, disk_process);
  // The saver's own files (the face pictures) stay in memory.
  MemoryFolderProcess saver_process(disk_process);

  LinuxDesktop desktop;
  LinuxEmbeddedData embedded;
  LinearRandomness randomness;

  // One of the user's full-screen savers (one per monitor) plays the music, and another takes it
  // over when that one ends; a preview never plays.
  std::unique_ptr<FileLock> music_lock;
  if (MayPlayMusic(run.kind) && !IsHostsPreview(display.get(), run)) {
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
  WaveSound& wave_sound = *wave_player;

  SettingsRecord settings;
  std::int32_t cursor_show_result = 0;
  BackgroundMusic music(mci, wave_sound, settings);
  std::optional<SharedMusic> shared_music;
  if (music_lock) shared_music.emplace(music, *music_lock);
  Music* saver_music = &music;
  if (shared_music) saver_music = &*shared_music;
  std::function<void()> retry_music;
  if (shared_music) retry_music = [&shared_music] { shared_music->TryAgain(); };

  const SceneFactory make_scene = [&saver_process, &randomness, &run](Display* x, Window window) {
    return CreateGlScene(x, window, saver_process, randomness, run.show_fps);
  };
  LinuxStartupWindows windows({display.get(), PlaceOf(run), signals, *saver_music, saver_process,
                               desktop, embedded, randomness, settings, cursor_show_result,
                               make_scene, max_fps, retry_music, kMusicLockRetryIntervalMs});
  Main({desktop, saver_process, store, windows}, settings, cursor_show_result);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // First of all, so that a host's SIGTERM during start-up ends the run cleanly too.
  TerminationSignals signals;

  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const std::optional<std::string> xscreensaver_window = Environment("XSCREENSAVER_WINDOW");
  const HostRun run = ParseHostArguments(
      arguments,
      xscreensaver_window ? std::optional<std::string_view>(*xscreensaver_window) : std::nullopt);
  const std::string usage = HostUsage("tolvenar");
  switch (run.kind) {
    case RunKind::kHelp:
      (void)std::fputs(usage.c_str(), stdout);
      return 0;
    case RunKind::kUsageError:
      (void)std::fprintf(stderr, "tolvenar: %s\n%s", run.error.c_str(), usage.c_str());
      return 1;
    case RunKind::kSettings:
      return RunSettingsProgram();
    case RunKind::kRegisterXscreensaver: {
      const std::optional<std::string> path = XscreensaverFilePath(Environment("HOME"));
      const std::vector<std::string> app_defaults(kXscreensaverAppDefaults.begin(),
                                                  kXscreensaverAppDefaults.end());
      const XscreensaverRegistration result =
          path ? RegisterXscreensaver(*path, app_defaults) : XscreensaverRegistration::kNoHome;
      const int status = RegistrationExitStatus(result);
      (void)std::fputs(RegistrationMessage(result, path.value_or("")).c_str(),
                       status == 0 ? stdout : stderr);
      return status;
    }
    default: {
      const std::optional<std::string> max_fps = Environment(kMaxFpsVariable);
      return RunSaver(
          run, signals,
          ParseMaxFps(max_fps ? std::optional<std::string_view>(*max_fps) : std::nullopt));
    }
  }
}
