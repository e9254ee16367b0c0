#pragma once
// Owning wrappers for platform handles: one template, a type per kind of handle, each freeing its
// handle once with the matching function. Copy deleted, move allowed.
#include <windows.h>

#include <utility>

namespace tolvenar::win32 {

template <typename Handle, typename Release>
class UniqueResource {
 public:
  UniqueResource() = default;
  explicit UniqueResource(Handle handle) : handle_(handle) {}
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;
  UniqueResource(UniqueResource&& other) noexcept
      : handle_(std::exchange(other.handle_, nullptr)) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  ~UniqueResource() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void reset() {
    if (handle_) Release{}(std::exchange(handle_, nullptr));
  }

 private:
  Handle handle_ = nullptr;
};

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

using UniqueModule = UniqueResource<HMODULE, FreeModule>;  // from LoadLibrary
using UniqueWindow = UniqueResource<HWND, DestroyWindowHandle>;
template <typename Handle>
using UniqueGdiObject = UniqueResource<Handle, DeleteGdiObject>;  // bitmap, font, brush
using UniqueMemoryDc = UniqueResource<HDC, DeleteMemoryDc>;       // from CreateCompatibleDC

}  // namespace tolvenar::win32
