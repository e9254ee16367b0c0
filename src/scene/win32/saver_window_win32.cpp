#include "scene/win32/saver_window_win32.h"

#include <string>

#include "scene/saver_window.h"

namespace tolvenar::win32 {
namespace {

const std::string kClassName(kSaverWindowTitle);

}  // namespace

void LoadSaverWindow(const SaverWindowParts& parts) {
  Win32SaverWindowHost host;
  if (!host.handle()) return;
  std::unique_ptr<Scene> scene = parts.make_scene(host.handle());
  if (!scene) return;
  SaverWindow form(
      {host, *scene, parts.music, parts.process, parts.desktop, parts.embedded, parts.randomness},
      parts.settings, parts.cursor_show_result);
  host.Connect(form);
  form.Form_Load();
}

Win32SaverWindowHost::Win32SaverWindowHost() {
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = GetModuleHandleA(nullptr);
  window_class.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  // The system colour for menu text, until the first frame is presented.
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_MENUTEXT + 1));
  window_class.lpszClassName = kClassName.c_str();
  class_ = RegisteredClass(window_class);
  // Borderless; Form_Load gives it the screen's size and position before it is shown.
  window_ = UniqueWindow(CreateWindowExA(0, kClassName.c_str(), kClassName.c_str(), WS_POPUP, 0, 0,
                                         0, 0, nullptr, nullptr, window_class.hInstance, this));
}

Win32SaverWindowHost::~Win32SaverWindowHost() {
  events_ = nullptr;
  for (WindowTimer& timer : timers_) timer.reset();
  window_.reset();
}

ScreenSize Win32SaverWindowHost::GetScreenSize() {
  return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

void Win32SaverWindowHost::SetSize(int width, int height) {
  SetWindowPos(window_.get(), nullptr, 0, 0, width, height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32SaverWindowHost::Move(int left, int top) {
  SetWindowPos(window_.get(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32SaverWindowHost::ShowNormal() {
  if (!window_) return;
  ShowWindow(window_.get(), SW_SHOWNORMAL);
  UpdateWindow(window_.get());
}

void Win32SaverWindowHost::Close() {
  if (!window_ || closing_) return;
  closing_ = true;
  if (events_) {
    events_->Form_QueryUnload();
    events_->Form_Unload();
  }
  for (WindowTimer& timer : timers_) timer.reset();
  window_.reset();
  closing_ = false;
}

void Win32SaverWindowHost::StartTimer(SaverTimer timer, std::uint32_t interval_ms) {
  if (!window_) return;
  const auto id = static_cast<UINT_PTR>(timer);
  timers_[id] = WindowTimer(window_.get(), id, interval_ms);
}

void Win32SaverWindowHost::StopTimer(SaverTimer timer) {
  timers_[static_cast<std::size_t>(timer)].reset();
}

void Win32SaverWindowHost::ProcessEvents() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) continue;
    DispatchMessageA(&message);
  }
}

// By now the music is stopped, the files are deleted and the device objects are released: nothing
// is left to flush. Terminating skips the libraries' detach code, where Wine's OpenGL and sound
// threads have been seen to crash a process on its way out.
void Win32SaverWindowHost::EndProcess() { TerminateProcess(GetCurrentProcess(), 0); }

LRESULT CALLBACK Win32SaverWindowHost::WindowProc(HWND window, UINT message, WPARAM wparam,
                                                  LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lparam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<Win32SaverWindowHost*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!self) return DefWindowProcA(window, message, wparam, lparam);
  return self->HandleMessage(window, message, wparam, lparam);
}

LRESULT Win32SaverWindowHost::HandleMessage(HWND window, UINT message, WPARAM wparam,
                                            LPARAM lparam) {
  // Before Connect only a close request is served (without handlers), so the window is never
  // destroyed behind the host's back.
  if (!events_ && message != WM_CLOSE) return DefWindowProcA(window, message, wparam, lparam);
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
    case WM_TIMER:
      if (wparam == static_cast<WPARAM>(SaverTimer::kTimer1)) events_->Timer1_Timer();
      if (wparam == static_cast<WPARAM>(SaverTimer::kTimer2)) events_->Timer2_Timer();
      return 0;
    case WM_CLOSE:
      Close();
      return 0;
    // Log-off or shut-down: the saver never holds it up, and its close runs before the answer
    // goes back, since the system may end the process as soon as it has the answer.
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      if (wparam) Close();
      return 0;
    default:
      return DefWindowProcA(window, message, wparam, lparam);
  }
}

}  // namespace tolvenar::win32
