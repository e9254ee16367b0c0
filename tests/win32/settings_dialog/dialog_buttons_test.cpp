// The dialog's buttons in a real container: disabling the button that holds the focus hands the
// focus on first, so the button's look follows the focus and its next click is not lost.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "runtime/win32/embedded_data_win32.h"
#include "runtime/win32/user_services_win32.h"
#include "settings_dialog/win32/dialog_buttons_win32.h"
#include "win32/window_events.h"

namespace tolvenar::win32 {
namespace {

using testing::MouseButton;
using testing::MovePointer;
using testing::Pump;

constexpr RECT kFileBox{20, 20, 49, 45};
constexpr RECT kSetBox{80, 20, 157, 45};

TEST(DialogButtons, ADisabledFocusedButtonHandsTheFocusOnAndClicksAtOnceWhenEnabledAgain) {
  HWND container =
      CreateWindowExW(WS_EX_CONTROLPARENT, L"STATIC", L"buttons", WS_POPUP | WS_VISIBLE, 0, 0, 200,
                      80, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(container, nullptr);
  int file_clicks = 0;
  Win32EmbeddedData embedded;
  Win32PointerLocator pointer;
  std::unique_ptr<CommandControl> file =
      MakeDialogButton(container, kFileBox, 15, "...", embedded, pointer, [&] { ++file_clicks; });
  std::unique_ptr<CommandControl> set =
      MakeDialogButton(container, kSetBox, 15, "設定", embedded, pointer, [] {});
  ASSERT_TRUE(file && set);
  file->Initialize();
  set->Initialize();
  const HWND file_window = ChildWindowFromPoint(container, POINT{kFileBox.left + 2, 30});
  const HWND set_window = ChildWindowFromPoint(container, POINT{kSetBox.left + 2, 30});
  ASSERT_NE(file_window, set_window);
  SetForegroundWindow(container);
  SetFocus(file_window);
  Pump(50);

  // Picking another kind disables "...", picking the file kind enables it again.
  file->SetEnabled(false);
  EXPECT_EQ(GetFocus(), set_window);
  file->SetEnabled(true);
  Pump(50);

  // The pointer comes onto "..." and clicks it once.
  POINT centre{(kFileBox.left + kFileBox.right) / 2, (kFileBox.top + kFileBox.bottom) / 2};
  ClientToScreen(container, &centre);
  ASSERT_TRUE(MovePointer(POINT{centre.x + 100, centre.y + 100}));
  Pump(150);
  ASSERT_TRUE(MovePointer(centre));
  Pump(60);
  ASSERT_TRUE(MouseButton(MOUSEEVENTF_LEFTDOWN));
  Pump(60);
  ASSERT_TRUE(MouseButton(MOUSEEVENTF_LEFTUP));
  Pump(60);
  EXPECT_EQ(file_clicks, 1);
  EXPECT_EQ(GetFocus(), file_window);

  file.reset();
  set.reset();
  DestroyWindow(container);
}

}  // namespace
}  // namespace tolvenar::win32
