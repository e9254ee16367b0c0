// The preview window on the platform: placed into a host window of this process (which Wine draws),
// it covers the host's client area and shows the still, pixel for pixel at 152 x 112; the program's
// event loop lives exactly as long as the preview window.
#include "startup/win32/preview_window_win32.h"

#include <gtest/gtest.h>
#include <imm.h>
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <future>
#include <iterator>
#include <memory>
#include <string>
#include <thread>

#include "runtime/win32/event_loop_win32.h"

namespace tolvenar::win32 {
namespace {

class FileData : public EmbeddedData {
 public:
  FileData() {
    std::ifstream file(PREVIEW_PNG, std::ios::binary);
    bytes_.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }
  std::string_view Bytes(std::string_view name) override {
    return name == "PREVIEW" ? std::string_view(bytes_) : std::string_view();
  }
  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

void Pump() {
  for (int i = 0; i < 20; ++i) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    Sleep(10);
  }
}

// A frameless top-level window with the given client size, standing in for the preview area.
class Host {
 public:
  Host(int width, int height) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "PreviewTestHost";
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    RegisterClassA(&wc);
    window = CreateWindowExA(0, "PreviewTestHost", "host", WS_POPUP | WS_VISIBLE, 10, 10, width,
                             height, nullptr, nullptr, wc.hInstance, nullptr);
    Pump();
  }
  ~Host() {
    if (IsWindow(window)) DestroyWindow(window);
  }
  WindowHandle handle() const { return reinterpret_cast<WindowHandle>(window); }
  HWND window;
};

HWND FindPreview(HWND parent) {
  return FindWindowExA(parent, nullptr, "Tolvenar_R", "Preview Window");
}

TEST(Win32PreviewWindow, CoversTheAreaAndShowsTheStillAtItsSize) {
  FileData data;
  const auto still = DecodePicture(data.bytes());
  ASSERT_TRUE(still && still->width == 152 && still->height == 112);
  Host host(152, 112);
  Win32PreviewWindow preview(data);
  preview.Show(host.handle());
  Pump();
  const HWND child = FindPreview(host.window);
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(GetAncestor(child, GA_PARENT), host.window);
  EXPECT_TRUE(GetWindowLongA(child, GWL_STYLE) & WS_CHILD);
  EXPECT_TRUE(IsWindowVisible(child));
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(HWND_DESKTOP, host.window, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, 152);
  EXPECT_EQ(r.bottom, 112);

  UpdateWindow(child);
  HDC dc = GetDC(child);
  int checked = 0, matched = 0;
  for (int y = 3; y < 112; y += 27) {
    for (int x = 5; x < 152; x += 29) {
      const COLORREF c = GetPixel(dc, x, y);
      const std::uint8_t* want = &still->rgb[(y * 152 + x) * 3];
      ++checked;
      if (std::abs(int(GetRValue(c)) - want[0]) <= 8 &&
          std::abs(int(GetGValue(c)) - want[1]) <= 8 && std::abs(int(GetBValue(c)) - want[2]) <= 8)
        ++matched;
      else
        ADD_FAILURE() << "pixel (" << x << ", " << y << "): got " << int(GetRValue(c)) << " "
                      << int(GetGValue(c)) << " " << int(GetBValue(c)) << ", want " << int(want[0])
                      << " " << int(want[1]) << " " << int(want[2]);
    }
  }
  ReleaseDC(child, dc);
  EXPECT_EQ(matched, checked);
}

TEST(Win32PreviewWindow, ALargerAreaIsFilledByTheScaledStill) {
  FileData data;
  Host host(304, 224);
  Win32PreviewWindow preview(data);
  preview.Show(host.handle());
  Pump();
  const HWND child = FindPreview(host.window);
  ASSERT_NE(child, nullptr);
  RECT client;
  GetClientRect(child, &client);
  EXPECT_EQ(client.right, 304);
  EXPECT_EQ(client.bottom, 224);
  UpdateWindow(child);
  HDC dc = GetDC(child);
  // No white of the host and no bare black background in the far corner: the picture reaches it.
  const COLORREF corner = GetPixel(dc, 300, 220);
  ReleaseDC(child, dc);
  EXPECT_NE(corner, RGB(255, 255, 255));
  EXPECT_NE(corner, CLR_INVALID);
}

TEST(Win32PreviewWindow, ClosesWhenTheAreaGoes) {
  FileData data;
  Win32PreviewWindow preview(data);
  HWND child = nullptr;
  {
    Host host(152, 112);
    preview.Show(host.handle());
    Pump();
    child = FindPreview(host.window);
    ASSERT_NE(child, nullptr);
  }
  Pump();
  EXPECT_FALSE(IsWindow(child));
}

TEST(Win32PreviewWindow, NoWindowBehindTheHandleCreatesNothing) {
  FileData data;
  for (std::int32_t handle : {0, 12345678}) {
    Win32PreviewWindow preview(data);
    preview.Show(WindowHandleFromNumber(handle));
    Pump();
    EXPECT_EQ(FindWindowA("Tolvenar_R", nullptr), nullptr) << handle;
  }
}

void CALLBACK DestroyOnTimer(HWND window, UINT, UINT_PTR, DWORD) { DestroyWindow(window); }

// Ends a loop that would otherwise run on for good, so that a failure is not a hang.
void CALLBACK QuitOnTimer(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  PostQuitMessage(0);
}

constexpr UINT kParentLifeMs = 600;
constexpr UINT kGiveUpMs = 5000;

// Runs the program's event loop on a preview window; returns the tick count when it returned.
ULONGLONG RunTheLoop(HWND preview) {
  const UINT_PTR give_up = SetTimer(nullptr, 0, kGiveUpMs, QuitOnTimer);
  RunEventsWhileWindowLives(preview);
  const ULONGLONG ended = GetTickCount64();
  KillTimer(nullptr, give_up);
  return ended;
}

TEST(PreviewLife, AWindowOfTheThreadThatOutlivesThePreviewDoesNotKeepTheLoopRunning) {
  FileData data;
  Host stray(40, 30);
  Win32PreviewWindow preview(data);
  auto area = std::make_unique<Host>(152, 112);
  preview.Show(area->handle());
  const HWND window = preview.handle();
  ASSERT_NE(window, nullptr);
  const ULONGLONG area_doomed = GetTickCount64();
  SetTimer(area->window, 1, kParentLifeMs, DestroyOnTimer);
  const ULONGLONG ran = RunTheLoop(window) - area_doomed;
  EXPECT_FALSE(IsWindow(window));
  EXPECT_TRUE(IsWindow(stray.window));
  EXPECT_GE(ran, kParentLifeMs - 50);
  EXPECT_LT(ran, kParentLifeMs + 1500) << "the loop ran on after the preview had gone";
}

// The preview area belongs to another thread (in real life another process); the preview's thread
// has no other window, not even the input-method window the platform would add.
TEST(PreviewLife, ThePreviewAloneKeepsTheLoopRunningUntilTheAreaGoes) {
  std::promise<HWND> area_made;
  ULONGLONG area_doomed = 0;  // the area lives kParentLifeMs from here
  std::thread area_thread([&area_made, &area_doomed] {
    Host area(152, 112);
    area_doomed = GetTickCount64();
    SetTimer(area.window, 1, kParentLifeMs, DestroyOnTimer);
    area_made.set_value(area.window);
    MSG message;
    while (IsWindow(area.window) && GetMessageA(&message, nullptr, 0, 0) > 0)
      DispatchMessageA(&message);
  });
  const HWND area = area_made.get_future().get();

  bool created = false, gone = false;
  int windows_of_the_thread = -1;
  ULONGLONG ran = 0;
  std::thread preview_thread([&] {
    ImmDisableIME(GetCurrentThreadId());
    FileData data;
    Win32PreviewWindow preview(data);
    preview.Show(reinterpret_cast<WindowHandle>(area));
    const HWND window = preview.handle();
    created = window != nullptr;
    windows_of_the_thread = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND, LPARAM count) {
          ++*reinterpret_cast<int*>(count);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows_of_the_thread));
    ran = RunTheLoop(window) - area_doomed;
    gone = !IsWindow(window);
  });
  preview_thread.join();
  area_thread.join();
  ASSERT_TRUE(created);
  EXPECT_EQ(windows_of_the_thread, 0) << "a top-level window besides the embedded preview";
  EXPECT_TRUE(gone);
  EXPECT_GE(ran, kParentLifeMs - 50) << "the loop ended while the preview was still there";
  EXPECT_LT(ran, kParentLifeMs + 1500);
}

}  // namespace
}  // namespace tolvenar::win32
