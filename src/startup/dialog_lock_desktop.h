#pragma once
// A desktop on which an open settings dialog is known by a lock that its program holds rather than
// by the dialog window's title: not every display system lets one program see another's windows
// (a Wayland client sees none), but every one leaves a per-user lock to find. Looking for the
// dialog takes the lock when it is free, so the start that finds no dialog holds the lock for as
// long as it runs, its own dialog included. Every other title, and the pointer, are the window
// system's.
#include <cstdint>
#include <string>

#include "runtime/desktop.h"
#include "runtime/exclusive_lock.h"

namespace tolvenar {

class DialogLockDesktop final : public Desktop {
 public:
  DialogLockDesktop(Desktop& windows, ExclusiveLock& dialog_lock)
      : windows_(windows), dialog_lock_(dialog_lock) {}
  bool TopLevelWindowExists(const std::string& title) override;
  std::int32_t ShowCursor(std::int32_t show_flag) override {
    return windows_.ShowCursor(show_flag);
  }

 private:
  Desktop& windows_;
  ExclusiveLock& dialog_lock_;
};

}  // namespace tolvenar
