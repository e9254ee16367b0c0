#pragma once
// The keyboard focus among the dialog's controls, as dialog boxes keep it.
#include <windows.h>

namespace tolvenar::win32 {

// Before `control` is disabled: when it or a child of it (a combo box's edit field) holds the
// focus, the focus moves on to the next control of the tab order, while the control still reacts,
// so that its look follows; a disabled window would keep the focus unseen and take no keys.
void HandFocusOnBeforeDisabling(HWND control);

// The control of a top-level window that had the focus when the window was deactivated (another
// program, or a modal window of its own such as the file chooser), to give it back on activation
// instead of leaving the focus on the frame.
class RememberedFocus {
 public:
  // WM_ACTIVATE of `window`: true when the focus was given back (the message is then served).
  bool OnActivate(HWND window, WPARAM wparam);
  // WM_SETFOCUS of `window` itself: the remembered control takes it on; true when it did.
  bool OnSetFocus(HWND window);

 private:
  bool Restore(HWND window);
  HWND control_ = nullptr;
};

}  // namespace tolvenar::win32
