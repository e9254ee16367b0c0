// The settings dialog's window on Wine's user32, shown modally while a second thread acts as the
// system does.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "runtime/win32/embedded_data_win32.h"
#include "runtime/win32/process_win32.h"
#include "runtime/win32/profile_file_win32.h"
#include "runtime/win32/user_services_win32.h"
#include "settings_dialog/win32/settings_dialog_win32.h"
#include "settings_dialog/win32/zoom_win32.h"

namespace tolvenar::win32 {
namespace {

HWND WaitForDialog() {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (std::chrono::steady_clock::now() < end) {
    const HWND dialog = FindWindowW(nullptr, L"<Tolvenar>");
    if (dialog && IsWindowVisible(dialog)) return dialog;
    Sleep(20);
  }
  return nullptr;
}

// A child's rectangle in its parent's client area.
RECT PlaceOf(HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Moved onto a monitor of 144 dots per inch, the dialog takes the suggested rectangle and every
// control its place at 10 twips per pixel, in the same tab order.
TEST(SettingsDialogWindow, AChangeOfResolutionLaysItOutAgainWhereTheSystemSuggests) {
  Win32Process process;
  Win32ProfileFile profile;
  SettingsStore store(profile, process);
  Win32EmbeddedData embedded;
  Win32PointerLocator pointer;
  Win32AppPointer app_pointer;
  Win32ScreenMetrics screen;
  Win32FileChooser chooser;
  Win32Shell shell;
  Win32WindowAnimation animation;
  SettingsRecord settings;
  settings.MusicKind = 2;
  ZoomPoint zoom;

  const RECT suggested{100, 80, 900, 560};
  RECT window{}, panel{}, set{}, cancel{}, repeat{}, file{};
  std::thread system([&] {
    const HWND dialog = WaitForDialog();
    if (!dialog) return;
    SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    GetWindowRect(dialog, &window);
    const HWND panel_window = GetWindow(dialog, GW_CHILD);
    panel = PlaceOf(panel_window);
    const HWND set_window = GetWindow(panel_window, GW_HWNDNEXT);
    set = PlaceOf(set_window);
    cancel = PlaceOf(GetWindow(set_window, GW_HWNDNEXT));
    const HWND repeat_window = GetWindow(panel_window, GW_CHILD);
    repeat = PlaceOf(repeat_window);
    file = PlaceOf(GetWindow(repeat_window, GW_HWNDNEXT));
    PostMessageW(dialog, WM_CLOSE, 0, 0);
  });
  ShowSettingsDialogModal(
      {settings, zoom, embedded, {store, screen, pointer, app_pointer, chooser, shell, animation}});
  system.join();

  EXPECT_TRUE(window == suggested);
  // Twips to pixels at 10 twips per pixel, halves away from zero.
  EXPECT_TRUE(panel == (RECT{18, 24, 722, 272}));
  EXPECT_TRUE(set == (RECT{486, 294, 602, 332}));
  EXPECT_TRUE(cancel == (RECT{606, 294, 722, 332}));
  EXPECT_EQ(repeat.left, 168);  // the list drops below the box: only its corner is fixed
  EXPECT_EQ(repeat.top, 78);
  EXPECT_TRUE(file == (RECT{60, 174, 104, 212}));
}

}  // namespace
}  // namespace tolvenar::win32
