#pragma once
// The window thread's event loop for a mode that lives on in its window after start-up.
#include <windows.h>

namespace tolvenar::win32 {

// Dispatches the thread's window events until `window` has been destroyed or a quit message comes;
// returns at once when `window` names no window. Other windows of the thread (the input-method
// window the platform adds, a stray one) neither keep it running nor end it.
void RunEventsWhileWindowLives(HWND window);

}  // namespace tolvenar::win32
