// The platform services under the settings dialog, on Wine's user32 and gdi32.
#include <windows.h>

#include <gtest/gtest.h>

#include "../runtime/temp_folder.h"
#include "runtime/win32/text_encoding.h"
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

// The chooser's answer names the chosen file or none: never a look-alike ("Cafe.mp3" for
// "Café.mp3" on code page 932) that is another file.
TEST(AnsiPathOf, TheNameExactlyElseItsShortFormElseNone) {
  testing::TempFolder folder;
  const std::wstring base = Widen(folder.Path(), CP_ACP) + L"\\";
  enum Expect { kExact, kShort, kNone };
  const struct {
    const wchar_t* name;
    bool exists;
    UINT code_page;
    Expect expect;
  } cases[] = {
      {L"night.mp3", true, 932, kExact},
      {L"\u591c.mp3", true, 932, kExact},                // 夜: Shift-JIS 96 E9
      {L"Caf\u00e9.mp3", true, 1252, kExact},            // é is E9 there
      {L"Caf\u00e9.mp3", true, 932, kShort},             // no é in code page 932: the 8.3 name
      {L"Caf\u00e9.mp3", true, CP_UTF8, kExact},         // a system whose ANSI code page is UTF-8
      {L"\u0141\u00f3d\u017a.mp3", false, 1252, kNone},  // Łódź, typed, no file: no short form
      {L"\u00e9t\u00e9.wav", false, 932, kNone},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const auto& c = cases[i];
    SCOPED_TRACE("case " + std::to_string(i));
    const std::wstring path = base + c.name;
    if (c.exists) {
      const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
      ASSERT_NE(file, INVALID_HANDLE_VALUE);
      CloseHandle(file);
    }
    const std::optional<std::string> answer = AnsiPathOf(path, c.code_page);
    if (c.expect == kNone) {
      EXPECT_FALSE(answer) << *answer;
      continue;
    }
    ASSERT_TRUE(answer);
    const std::wstring back = Widen(*answer, c.code_page);
    if (c.expect == kExact) {
      EXPECT_EQ(back, path);
    }
    if (c.expect == kShort) {
      EXPECT_NE(back, path);
      // The short form opens the very file chosen.
      std::wstring long_form(MAX_PATH, L'\0');
      long_form.resize(GetLongPathNameW(back.c_str(), long_form.data(), MAX_PATH));
      EXPECT_EQ(lstrcmpiW(long_form.c_str(), path.c_str()), 0) << *answer;
    }
  }
}

}  // namespace
}  // namespace tolvenar::win32
