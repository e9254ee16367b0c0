#include "scene/win32/saver_window_win32.h"

#include <chrono>
#include <string>

#include "runtime/win32/pixel_geometry_win32.h"
#include "runtime/win32/text_encoding.h"
#include "scene/saver_window.h"

namespace tolvenar::win32 {

void LoadSaverWindow(const SaverWindowParts& parts, const SceneFactory& make_scene) {
  Win32SaverWindowHost host;
  if (!host.handle()) return;
  std::unique_ptr<Scene> scene = make_scene(host.handle());
  if (!scene) return;
  SaverWindow form = MakeSaverWindow(parts, host, *scene, host.clock());
  host.Connect(form);
  form.Form_Load();
}

Win32SaverWindowHost::Win32SaverWindowHost() {
  const std::wstring name = Widen(kSaverWindowTitle, CP_ACP);
  // The system colour for menu text, until the first frame is presented.
  if (!RegisterWindowClass(
          {name.c_str(), reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_MENUTEXT + 1))})) {
    return;
  }
  // Borderless; Form_Load gives it the screen's size and position before it is shown.
  CreateHandle(name.c_str(), name.c_str(), WS_POPUP, 0, {0, 0, 0, 0});
}

Win32SaverWindowHost::~Win32SaverWindowHost() {
  events_ = nullptr;
  for (WindowTimer& timer : timers_) timer.reset();
  DestroyQuietly();
}

std::vector<PixelRect> Win32SaverWindowHost::GetMonitors() {
  std::vector<PixelRect> monitors;
  EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR monitor, HDC, LPRECT, LPARAM list) -> BOOL {
        MONITORINFO info{};
        info.cbSize = sizeof info;
        if (!GetMonitorInfoW(monitor, &info)) return TRUE;
        auto& found = *reinterpret_cast<std::vector<PixelRect>*>(list);
        const PixelRect rect = ToPixelRect(info.rcMonitor);
        // The primary first; the others in the order the system lists them.
        if (info.dwFlags & MONITORINFOF_PRIMARY) {
          found.insert(found.begin(), rect);
        } else {
          found.push_back(rect);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&monitors));
  if (monitors.empty()) {
    monitors.push_back({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
  }
  return monitors;
}

void Win32SaverWindowHost::SetSize(int width, int height) {
  SetWindowPos(handle(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32SaverWindowHost::Move(int left, int top) {
  SetWindowPos(handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32SaverWindowHost::ShowNormal() {
  if (!handle()) return;
  ShowWindow(handle(), SW_SHOWNORMAL);
  UpdateWindow(handle());
}

void Win32SaverWindowHost::Close() {
  if (!handle() || closing_) return;
  closing_ = true;
  if (events_) {
    events_->Form_QueryUnload();
    events_->Form_Unload();
  }
  for (WindowTimer& timer : timers_) timer.reset();
  Destroy();
  closing_ = false;
}

void Win32SaverWindowHost::StartTimer(SaverTimer timer, std::uint32_t interval_ms) {
  if (!handle()) return;
  const auto id = static_cast<UINT_PTR>(timer);
  timers_[id] = WindowTimer(handle(), id, interval_ms);
}

void Win32SaverWindowHost::StopTimer(SaverTimer timer) {
  timers_[static_cast<std::size_t>(timer)].reset();
}

void Win32SaverWindowHost::ProcessEvents(std::optional<FrameTime> until) {
  for (;;) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) continue;
      DispatchMessageA(&message);
    }
    // handle() is null once the window is destroyed.
    if (!until || !handle()) return;
    const FrameTime left = *until - clock_.Now();
    if (left <= FrameTime(0)) return;
    // Any message wakes the wait, timer ticks included; whole milliseconds rounded up, so that it
    // does not end before the frame is due.
    const auto wait_ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(wait_ms), QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
  }
}

// Sent messages (WM_QUERYENDSESSION and WM_ENDSESSION among them) are delivered by any look at
// the queue; this one removes nothing, so posted input stays for the next event pass.
void Win32SaverWindowHost::ServeRequests() {
  MSG message;
  PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

// By now the music is stopped, the files are deleted and the device objects are released: nothing
// is left to flush. Terminating skips the libraries' detach code, where Wine's OpenGL and sound
// threads have been seen to crash a process on its way out.
void Win32SaverWindowHost::EndProcess() { TerminateProcess(GetCurrentProcess(), 0); }

void Win32SaverWindowHost::OnTimer(UINT_PTR id) {
  if (!events_) return;
  if (id == static_cast<UINT_PTR>(SaverTimer::kTimer1)) events_->Timer1_Timer();
  if (id == static_cast<UINT_PTR>(SaverTimer::kTimer2)) events_->Timer2_Timer();
}

LRESULT Win32SaverWindowHost::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  // Before Connect only a close request is served (without handlers), so the window is never
  // destroyed behind the host's back.
  if (!events_) return DefaultMessage(message, wparam, lparam);
  switch (message) {
    // Any key, also a lone Shift, Ctrl or Alt (which come as system keys with Alt).
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      events_->Form_KeyDown();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      events_->Form_MouseDown();
      return 0;
    case WM_XBUTTONDOWN:
      events_->Form_MouseDown();
      return TRUE;
    // Log-off or shut-down: the saver never holds it up, and its close runs before the answer
    // goes back, since the system may end the process as soon as it has the answer.
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      if (wparam) Close();
      return 0;
    default:
      return DefaultMessage(message, wparam, lparam);
  }
}

}  // namespace tolvenar::win32
