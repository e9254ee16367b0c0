#pragma once
// The one owning-handle template of every back end: a handle of a platform library, freed once by
// `Release`, a function object that may carry what freeing needs (the connection a handle belongs
// to, say). `kNone` is the value that owns nothing: a null pointer, 0 for a server's ids, -1 for a
// file descriptor. Copy deleted; a move hands the handle over and leaves the source empty.
#include <type_traits>
#include <utility>

namespace tolvenar {

template <typename Handle, typename Release, Handle kNone = Handle{}>
class UniqueResource {
 public:
  UniqueResource() = default;
  explicit UniqueResource(Handle handle, Release release = Release{})
      : handle_(handle), release_(std::move(release)) {}
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;
  UniqueResource(UniqueResource&& other) noexcept
      : handle_(std::exchange(other.handle_, kNone)), release_(std::move(other.release_)) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = std::exchange(other.handle_, kNone);
      release_ = std::move(other.release_);
    }
    return *this;
  }
  ~UniqueResource() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != kNone; }
  // For handles to a structure whose fields are read through them.
  template <typename H = Handle, typename = std::enable_if_t<std::is_pointer_v<H>>>
  H operator->() const {
    return handle_;
  }
  // For creation functions that fill a Handle*: the old handle is freed first.
  Handle* put() {
    reset();
    return &handle_;
  }
  // Frees the handle held, if any, and takes `handle` (kNone: owns nothing).
  void reset(Handle handle = kNone) {
    const Handle old = std::exchange(handle_, handle);
    if (old != kNone) release_(old);
  }

 private:
  Handle handle_ = kNone;
  Release release_{};
};

}  // namespace tolvenar
