#include "runtime/win32/window_win32.h"

#include <utility>

namespace tolvenar::win32 {

bool RegisterWindowClass(const WindowClass& window_class) {
  WNDCLASSEXW registered{};
  registered.cbSize = sizeof(registered);
  registered.hInstance = GetModuleHandleW(nullptr);
  if (GetClassInfoExW(registered.hInstance, window_class.name, &registered)) return true;
  registered.cbSize = sizeof(registered);
  registered.lpfnWndProc = &Window::Procedure;
  registered.hCursor = window_class.cursor ? window_class.cursor : LoadCursorA(nullptr, IDC_ARROW);
  registered.hbrBackground = window_class.background;
  registered.hIcon = window_class.icon;
  registered.hIconSm = window_class.small_icon;
  registered.lpszClassName = window_class.name;
  return RegisterClassExW(&registered) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

Window::~Window() { DestroyQuietly(); }

bool Window::CreateHandle(const wchar_t* class_name, const wchar_t* title, DWORD style,
                          DWORD ex_style, const RECT& box, HWND parent, int child_id) {
  CreateWindowExW(ex_style, class_name, title, style, box.left, box.top, box.right - box.left,
                  box.bottom - box.top, parent,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(child_id)),
                  GetModuleHandleW(nullptr), this);
  return handle_ != nullptr;
}

void Window::Destroy() {
  if (handle_) DestroyWindow(handle_);
}

void Window::DestroyQuietly() {
  if (!handle_) return;
  SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
  DestroyWindow(std::exchange(handle_, nullptr));
}

LRESULT Window::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  return DefaultMessage(message, wparam, lparam);
}

LRESULT Window::DefaultMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcW(handle_, message, wparam, lparam);
}

LRESULT CALLBACK Window::Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->handle_ = window;
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wparam, lparam);
  if (message != WM_NCDESTROY) return self->Route(message, wparam, lparam);
  const LRESULT result = self->OnMessage(message, wparam, lparam);
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  self->handle_ = nullptr;
  return result;
}

LRESULT Window::Route(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      if (HDC dc = BeginPaint(handle_, &paint)) {
        OnPaint(dc);
        EndPaint(handle_, &paint);
      }
      return 0;
    }
    case WM_TIMER:
      OnTimer(static_cast<UINT_PTR>(wparam));
      return 0;
    case WM_CLOSE:
      OnClose();
      return 0;
    default:
      return OnMessage(message, wparam, lparam);
  }
}

}  // namespace tolvenar::win32
