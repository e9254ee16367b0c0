#include "settings_dialog/win32/focus_win32.h"

namespace tolvenar::win32 {

void HandFocusOnBeforeDisabling(HWND control) {
  const HWND focus = GetFocus();
  if (!focus || (focus != control && !IsChild(control, focus))) return;
  const HWND next = GetNextDlgTabItem(GetAncestor(control, GA_ROOT), control, FALSE);
  SetFocus(next && next != control && !IsChild(control, next) ? next : nullptr);
}

bool RememberedFocus::OnActivate(HWND window, WPARAM wparam) {
  if (LOWORD(wparam) == WA_INACTIVE) {
    const HWND focus = GetFocus();
    if (focus && IsChild(window, focus)) control_ = focus;
    return false;
  }
  if (HIWORD(wparam)) return false;  // minimised: no focus to give
  return Restore(window);
}

bool RememberedFocus::OnSetFocus(HWND window) { return Restore(window); }

bool RememberedFocus::Restore(HWND window) {
  if (!control_ || !IsWindow(control_) || !IsChild(window, control_)) return false;
  // A control disabled or hidden meanwhile cannot take it: the frame keeps it then.
  for (HWND up = control_; up && up != window; up = GetParent(up)) {
    if (!IsWindowEnabled(up) || !IsWindowVisible(up)) return false;
  }
  SetFocus(control_);
  return true;
}

}  // namespace tolvenar::win32
