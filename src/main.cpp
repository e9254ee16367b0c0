// Program entry and the one place that makes the platform's services: each window is handed the
// ones it uses, the command line gives the mode, then the start-up module takes over.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "music/background_music.h"
#include "music/win32/mci_win32.h"
#include "music/win32/wave_sound_win32.h"
#include "runtime/randomness.h"
#include "runtime/win32/desktop_win32.h"
#include "runtime/win32/embedded_data_win32.h"
#include "runtime/win32/environment_win32.h"
#include "runtime/win32/event_loop_win32.h"
#include "runtime/win32/process_win32.h"
#include "runtime/win32/profile_file_win32.h"
#include "runtime/win32/user_services_win32.h"
#include "scene/frame_pacing.h"
#include "scene/win32/direct3d_scene_win32.h"
#include "scene/win32/saver_window_win32.h"
#include "settings_dialog/win32/settings_dialog_win32.h"
#include "settings/settings_store.h"
#include "startup/startup.h"
#include "startup/win32/startup_windows_win32.h"
#include "settings_dialog/win32/zoom_win32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace tolvenar;

  win32::Win32Desktop desktop;
  win32::Win32Process process;
  win32::Win32ProfileFile profile;
  win32::Win32EmbeddedData embedded;
  SettingsStore store(profile, process);
  LinearRandomness randomness;
  // The frame limit the environment sets, read once for the whole run.
  const std::optional<std::string> max_fps_text = win32::EnvironmentVariable(kMaxFpsVariable);
  const std::uint32_t max_fps =
      ParseMaxFps(max_fps_text ? std::optional<std::string_view>(*max_fps_text) : std::nullopt);
  win32::Win32Mci mci;
  win32::Win32WaveSound wave_sound;

  // The values shared across the whole run.
  SettingsRecord settings;
  std::int32_t cursor_show_result = 0;
  ZoomPoint zoom_point;

  BackgroundMusic music(mci, wave_sound, settings);

  // The settings dialog's services (its buttons share the pointer); made here, used only in that
  // mode (each binds its library at first use, so the other modes pay nothing for them).
  win32::Win32PointerLocator pointer;
  win32::Win32AppPointer app_pointer;
  win32::Win32ScreenMetrics screen;
  win32::Win32FileChooser file_chooser;
  win32::Win32Shell shell;
  win32::Win32WindowAnimation animation;

  SaverWindowParts saver;
  saver.music = &music;
  saver.process = &process;
  saver.desktop = &desktop;
  saver.embedded = &embedded;
  saver.randomness = &randomness;
  saver.settings = &settings;
  saver.cursor_show_result = &cursor_show_result;
  saver.max_fps = max_fps;
  const win32::SceneFactory make_scene = [&randomness](HWND window) {
    return CreateDirect3DScene(window, randomness);
  };
  const SettingsDialogShared dialog{
      settings, zoom_point, embedded,
      SettingsDialogServices{store, screen, pointer, app_pointer, file_chooser, shell, animation}};
  win32::Win32StartupWindows windows(saver, make_scene, dialog, embedded);

  const StartupMode mode = ModeFromArgumentText(process.ArgumentText(), windows);
  if (Main(mode, desktop, store, settings, cursor_show_result) == StartupOutcome::kLiveOn) {
    win32::RunEventsWhileWindowLives(windows.LiveWindow());
  }
  return 0;
}
