#include "startup/dialog_lock_desktop.h"

#include "settings_dialog/layout.h"

namespace tolvenar {

bool DialogLockDesktop::TopLevelWindowExists(const std::string& title) {
  if (title == dialog_layout::kTitle) return !dialog_lock_.TryTake();
  return windows_.TopLevelWindowExists(title);
}

}  // namespace tolvenar
