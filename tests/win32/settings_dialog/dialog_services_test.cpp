// The platform services under the settings dialog, on Wine's user32 and gdi32.
#include <windows.h>

#include <gtest/gtest.h>

#include "runtime/win32/user_services_win32.h"
#include "settings_dialog/win32/zoom_win32.h"

namespace tolvenar::win32 {
namespace {

// A plain top-level window for the duration of a test.
class TestWindow {
 public:
  TestWindow(int x, int y, int width, int height) {
    hwnd_ = CreateWindowExA(0, "STATIC", "zoom test", WS_POPUP, x, y, width, height, nullptr,
                            nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;
  ~TestWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
  }
  WindowHandle handle() const { return reinterpret_cast<WindowHandle>(hwnd_); }

 private:
  HWND hwnd_ = nullptr;
};

TEST(Win32WindowAnimation, WindowRectIsTheOuterRectangleAndZerosWhenItFails) {
  TestWindow window(261, 166, 502, 268);
  ASSERT_NE(window.handle(), 0u);
  Win32WindowAnimation animation;
  EXPECT_EQ(animation.WindowRect(window.handle()), (PixelRect{261, 166, 763, 434}));
  EXPECT_EQ(animation.WindowRect(0), PixelRect{});
  // The zoom itself returns when it is done (Wine draws nothing visible).
  ZoomWindowOpen(animation, ZoomPoint{800, 600}, window.handle());
  ZoomWindowClose(animation, ZoomPoint{800, 600}, window.handle());
}

TEST(Win32ScreenMetrics, FifteenTwipsPerPixelOnTheTestDisplay) {
  Win32ScreenMetrics screen;
  EXPECT_DOUBLE_EQ(screen.TwipsPerPixelX(), 15);
  EXPECT_DOUBLE_EQ(screen.TwipsPerPixelY(), 15);
  EXPECT_DOUBLE_EQ(screen.WidthTwips(), GetSystemMetrics(SM_CXSCREEN) * 15.0);
  EXPECT_DOUBLE_EQ(screen.HeightTwips(), GetSystemMetrics(SM_CYSCREEN) * 15.0);
}

TEST(Win32PointerLocator, ReportsWhereThePointerWasPut) {
  ASSERT_TRUE(SetCursorPos(300, 200));
  Win32PointerLocator pointer;
  const std::optional<PixelPoint> at = pointer.CursorPosition();
  ASSERT_TRUE(at);
  EXPECT_EQ(at->x, 300);
  EXPECT_EQ(at->y, 200);
}

TEST(Win32AppPointer, RemembersTheShapeForTheWindows) {
  Win32AppPointer app_pointer;
  EXPECT_EQ(app_pointer.CurrentShape(), AppPointerShape::kDefault);
  app_pointer.SetAppPointer(AppPointerShape::kHourglass);
  EXPECT_EQ(app_pointer.CurrentShape(), AppPointerShape::kHourglass);
  app_pointer.SetAppPointer(AppPointerShape::kDefault);
  EXPECT_EQ(app_pointer.CurrentShape(), AppPointerShape::kDefault);
}

}  // namespace
}  // namespace tolvenar::win32
