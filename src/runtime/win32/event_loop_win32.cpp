#include "runtime/win32/event_loop_win32.h"

namespace tolvenar::win32 {

void RunEventsWhileWindowLives(HWND window) {
  // The window may also go without a message to this thread (its parent belongs to another
  // process), so the wait is bounded and the window is looked at again after every wake.
  constexpr DWORD kLookAgainMs = 250;
  while (window && IsWindow(window)) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, kLookAgainMs, QS_ALLINPUT);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) return;
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
}

}  // namespace tolvenar::win32
