#pragma once
// The saver window on user32: a borderless top-level window with two timers, and the load of the
// whole saver on it.
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "music/music.h"
#include "runtime/desktop.h"
#include "runtime/embedded_data.h"
#include "runtime/process.h"
#include "runtime/randomness.h"
#include "scene/frame_clock.h"
#include "scene/saver_window_host.h"
#include "scene/saver_window_parts.h"
#include "scene/scene.h"
#include "runtime/settings_record.h"
#include "runtime/win32/handles.h"
#include "runtime/win32/window_win32.h"

namespace tolvenar::win32 {

// Builds the scene on the saver window.
using SceneFactory = std::function<std::unique_ptr<Scene>(HWND window)>;

// Creates the saver window (hidden), builds the scene on it with `make_scene` and runs its load
// handler, which ends the process. Returns only when the window or the scene could not be made.
void LoadSaverWindow(const SaverWindowParts& parts, const SceneFactory& make_scene);

class Win32SaverWindowHost final : public SaverWindowHost, public Window {
 public:
  // Registers the class and creates the window, hidden; handle() is null when that failed.
  Win32SaverWindowHost();
  Win32SaverWindowHost(const Win32SaverWindowHost&) = delete;
  Win32SaverWindowHost& operator=(const Win32SaverWindowHost&) = delete;
  ~Win32SaverWindowHost() override;

  // The handlers that the window's events run; until then events run none.
  void Connect(SaverWindowEvents& events) { events_ = &events; }
  // The clock the event pass waits on.
  FrameClock& clock() { return clock_; }

  std::vector<PixelRect> GetMonitors() override;
  void SetSize(int width, int height) override;
  void Move(int left, int top) override;
  void ShowNormal() override;
  void Close() override;
  void StartTimer(SaverTimer timer, std::uint32_t interval_ms) override;
  void StopTimer(SaverTimer timer) override;
  void ProcessEvents(std::optional<FrameTime> until) override;
  void ServeRequests() override;
  void EndProcess() override;

 private:
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  void OnTimer(UINT_PTR id) override;
  // A close request, served also before Connect.
  void OnClose() override { Close(); }

  SteadyFrameClock clock_;
  std::array<WindowTimer, 3> timers_;  // by timer number; 0 unused
  SaverWindowEvents* events_ = nullptr;
  bool closing_ = false;
};

}  // namespace tolvenar::win32
