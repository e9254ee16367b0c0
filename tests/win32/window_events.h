#pragma once
// The window thread's events and real mouse input, for tests of windows under Wine.
#include <windows.h>

#include <chrono>

namespace tolvenar::win32::testing {

// Runs the window thread's events for the given time.
inline void Pump(int milliseconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  for (;;) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                          end - std::chrono::steady_clock::now())
                          .count();
    if (left <= 0) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left), QS_ALLINPUT);
  }
}

// Real mouse input through the system's queue: the pointer moves to a screen point, or a button
// goes down or up (MOUSEEVENTF_LEFTDOWN and so on). False when the input was not taken.
inline bool MovePointer(POINT screen) {
  INPUT move = {};
  move.type = INPUT_MOUSE;
  move.mi.dx = screen.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
  move.mi.dy = screen.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
  move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  return SendInput(1, &move, sizeof move) == 1;
}

inline bool MouseButton(DWORD flags) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  return SendInput(1, &input, sizeof input) == 1;
}

}  // namespace tolvenar::win32::testing
