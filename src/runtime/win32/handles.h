#pragma once
// Owning and scoped wrappers for platform handles, all in one place: a type per kind of handle on
// the shared owning template, and the types that need more than the handle (a window timer, a
// device context, an object selected into one, a COM pointer). Each frees its handle once; copy
// deleted, move allowed where a move makes sense.
#include <windows.h>

#include <utility>

#include "runtime/unique_resource.h"

namespace tolvenar::win32 {

struct CloseKernelHandle {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
struct FreeModule {
  void operator()(HMODULE module) const { FreeLibrary(module); }
};
struct DestroyWindowHandle {
  void operator()(HWND window) const { DestroyWindow(window); }
};
struct DeleteGdiObject {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct DeleteMemoryDc {
  void operator()(HDC dc) const { DeleteDC(dc); }
};

// A kernel handle. INVALID_HANDLE_VALUE, the failure value of some functions, counts as none.
class UniqueHandle : public UniqueResource<HANDLE, CloseKernelHandle> {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE handle)
      : UniqueResource(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
};

struct CloseFind {
  void operator()(HANDLE search) const { FindClose(search); }
};
// A search of FindFirstFile. INVALID_HANDLE_VALUE, its failure value, counts as none.
class UniqueFind : public UniqueResource<HANDLE, CloseFind> {
 public:
  explicit UniqueFind(HANDLE search)
      : UniqueResource(search == INVALID_HANDLE_VALUE ? nullptr : search) {}
};

using UniqueModule = UniqueResource<HMODULE, FreeModule>;  // from LoadLibrary
using UniqueWindow = UniqueResource<HWND, DestroyWindowHandle>;
template <typename Handle>
using UniqueGdiObject = UniqueResource<Handle, DeleteGdiObject>;  // bitmap, font, brush
using UniqueBitmap = UniqueGdiObject<HBITMAP>;
using UniqueFont = UniqueGdiObject<HFONT>;
using UniqueBrush = UniqueGdiObject<HBRUSH>;
using UniqueMemoryDc = UniqueResource<HDC, DeleteMemoryDc>;  // from CreateCompatibleDC

// A window's (or, for a null window, the screen's) device context for a scope.
class ScopedDc {
 public:
  explicit ScopedDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ScopedDc(const ScopedDc&) = delete;
  ScopedDc& operator=(const ScopedDc&) = delete;
  ~ScopedDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// Selects an object into a device context for the scope, putting the previous one back. A null
// object selects nothing.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object)
      : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() {
    if (previous_) SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
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

template <typename T>
struct ReleaseComReference {
  void operator()(T* pointer) const { pointer->Release(); }
};

// An owning pointer to a COM interface: one reference, released once.
template <typename T>
using ComPtr = UniqueResource<T*, ReleaseComReference<T>>;

}  // namespace tolvenar::win32
