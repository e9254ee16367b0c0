#pragma once
// Owning wrappers for window-system objects that need more than their handle to be freed: a
// registered window class and a window timer (a window is a UniqueWindow, runtime/win32/handles.h).
// Copy deleted, move allowed.
#include <windows.h>

#include <string>
#include <utility>

#include "runtime/win32/handles.h"

namespace tolvenar::win32 {

class RegisteredClass {
 public:
  RegisteredClass() = default;
  explicit RegisteredClass(const WNDCLASSA& window_class)
      : instance_(window_class.hInstance),
        name_(window_class.lpszClassName),
        atom_(RegisterClassA(&window_class)) {}
  RegisteredClass(const RegisteredClass&) = delete;
  RegisteredClass& operator=(const RegisteredClass&) = delete;
  RegisteredClass(RegisteredClass&& other) noexcept
      : instance_(other.instance_),
        name_(std::move(other.name_)),
        atom_(std::exchange(other.atom_, static_cast<ATOM>(0))) {}
  RegisteredClass& operator=(RegisteredClass&& other) noexcept {
    if (this != &other) {
      reset();
      instance_ = other.instance_;
      name_ = std::move(other.name_);
      atom_ = std::exchange(other.atom_, static_cast<ATOM>(0));
    }
    return *this;
  }
  ~RegisteredClass() { reset(); }

  explicit operator bool() const { return atom_ != 0; }
  void reset() {
    if (atom_) UnregisterClassA(name_.c_str(), instance_);
    atom_ = 0;
  }

 private:
  HINSTANCE instance_ = nullptr;
  std::string name_;
  ATOM atom_ = 0;
};

// A timer on a window: WM_TIMER with its id arrives while messages are being retrieved.
class WindowTimer {
 public:
  WindowTimer() = default;
  WindowTimer(HWND window, UINT_PTR id, UINT interval_ms)
      : window_(window), id_(SetTimer(window, id, interval_ms, nullptr) ? id : 0) {}
  WindowTimer(const WindowTimer&) = delete;
  WindowTimer& operator=(const WindowTimer&) = delete;
  WindowTimer(WindowTimer&& other) noexcept
      : window_(other.window_), id_(std::exchange(other.id_, 0)) {}
  WindowTimer& operator=(WindowTimer&& other) noexcept {
    if (this != &other) {
      reset();
      window_ = other.window_;
      id_ = std::exchange(other.id_, 0);
    }
    return *this;
  }
  ~WindowTimer() { reset(); }

  explicit operator bool() const { return id_ != 0; }
  // KillTimer also removes the timer's pending WM_TIMER messages.
  void reset() {
    if (id_) KillTimer(window_, std::exchange(id_, 0));
  }

 private:
  HWND window_ = nullptr;
  UINT_PTR id_ = 0;
};

}  // namespace tolvenar::win32
