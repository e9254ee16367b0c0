// The saver window on user32 under Wine: the window as created, its size, its timers, the close
// sequence, which input reaches the handlers and the wait until the next frame.
#include "scene/win32/saver_window_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace tolvenar::win32 {
namespace {

class RecordingEvents : public SaverWindowEvents {
 public:
  explicit RecordingEvents(SaverWindowHost& host) : host_(host) {}
  void Form_KeyDown() override {
    log.push_back("KeyDown");
    if (close_on_input) host_.Close();
  }
  void Form_MouseDown() override {
    log.push_back("MouseDown");
    if (close_on_input) host_.Close();
  }
  void Form_QueryUnload() override { log.push_back("QueryUnload"); }
  void Form_Unload() override { log.push_back("Unload"); }
  void Timer1_Timer() override { log.push_back("Timer1"); }
  void Timer2_Timer() override { log.push_back("Timer2"); }

  std::vector<std::string> log;
  bool close_on_input = false;

 private:
  SaverWindowHost& host_;
};

using Log = std::vector<std::string>;

// A message to the window and the handlers it runs.
struct MessageCase {
  const char* what;
  UINT message;
  WPARAM wparam;
  Log expected;
};

struct Rig {
  Win32SaverWindowHost host;
  RecordingEvents events{host};
  Rig() { host.Connect(events); }
};

TEST(SaverWindowWin32Test, CreatedHiddenBorderlessWithTitleClassAndBackground) {
  Rig rig;
  HWND window = rig.host.handle();
  ASSERT_NE(window, nullptr);
  char text[64] = {};
  GetWindowTextA(window, text, sizeof text);
  EXPECT_STREQ(text, "Tolvenar_Main");
  GetClassNameA(window, text, sizeof text);
  EXPECT_STREQ(text, "Tolvenar_Main");
  const auto style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
  EXPECT_TRUE(style & WS_POPUP) << std::hex << style;
  EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME | WS_VISIBLE)) << std::hex << style;
  EXPECT_EQ(GetParent(window), nullptr);
  // The class brush is the system colour index 7 (menu text), given as index + 1.
  EXPECT_EQ(GetClassLongPtrA(window, GCLP_HBRBACKGROUND), COLOR_MENUTEXT + 1);
  EXPECT_EQ(COLOR_MENUTEXT, 7);
}

TEST(SaverWindowWin32Test, MonitorsSpanTheVirtualScreenWithThePrimaryFirst) {
  Rig rig;
  const std::vector<PixelRect> monitors = rig.host.GetMonitors();
  ASSERT_FALSE(monitors.empty());
  EXPECT_EQ(static_cast<int>(monitors.size()), GetSystemMetrics(SM_CMONITORS));
  EXPECT_EQ(monitors[0],
            (PixelRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}));
  PixelRect bounds = monitors[0];
  for (const PixelRect& m : monitors) {
    bounds = {std::min(bounds.left, m.left), std::min(bounds.top, m.top),
              std::max(bounds.right, m.right), std::max(bounds.bottom, m.bottom)};
  }
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  EXPECT_EQ(bounds, (PixelRect{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                               top + GetSystemMetrics(SM_CYVIRTUALSCREEN)}));
}

TEST(SaverWindowWin32Test, SizeThenMoveCoversTheScreenAndShowMakesItVisible) {
  Rig rig;
  struct {
    int width, height;
  } screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  rig.host.Move(30, 40);
  rig.host.SetSize(screen.width, screen.height);
  RECT rect{};
  GetWindowRect(rig.host.handle(), &rect);
  EXPECT_EQ(rect.left, 30);
  EXPECT_EQ(rect.right - rect.left, screen.width);
  rig.host.Move(0, 0);
  GetWindowRect(rig.host.handle(), &rect);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(rect.right, screen.width);
  EXPECT_EQ(rect.bottom, screen.height);
  rig.host.ShowNormal();
  EXPECT_TRUE(IsWindowVisible(rig.host.handle()));
  EXPECT_TRUE(rig.events.log.empty());
}

TEST(SaverWindowWin32Test, TimersTickOnlyInTheEventPassAndNotAfterStop) {
  Rig rig;
  rig.host.StartTimer(SaverTimer::kTimer2, 20);
  Sleep(120);
  EXPECT_EQ(rig.events.log, Log{}) << "a tick outside the event pass";
  rig.host.ProcessEvents(std::nullopt);
  EXPECT_EQ(rig.events.log, Log{"Timer2"}) << "due ticks come as one";
  rig.host.StartTimer(SaverTimer::kTimer1, 20);
  Sleep(60);
  rig.host.StopTimer(SaverTimer::kTimer2);
  rig.host.ProcessEvents(std::nullopt);
  EXPECT_EQ(rig.events.log, (Log{"Timer2", "Timer1"})) << "a stopped timer ticked";
  rig.host.StopTimer(SaverTimer::kTimer1);
  rig.host.StopTimer(SaverTimer::kTimer1);  // not running: nothing
  Sleep(60);
  rig.host.ProcessEvents(std::nullopt);
  EXPECT_EQ(rig.events.log, (Log{"Timer2", "Timer1"}));
}

TEST(SaverWindowWin32Test, CloseRunsQueryUnloadThenUnloadOnceAndDestroysTheWindow) {
  Rig rig;
  HWND window = rig.host.handle();
  rig.host.ShowNormal();
  rig.host.StartTimer(SaverTimer::kTimer1, 10);
  rig.host.Close();
  EXPECT_EQ(rig.events.log, (Log{"QueryUnload", "Unload"}));
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(rig.host.handle(), nullptr);
  rig.host.Close();  // already closed
  Sleep(30);
  rig.host.ProcessEvents(std::nullopt);
  EXPECT_EQ(rig.events.log, (Log{"QueryUnload", "Unload"}));
}

TEST(SaverWindowWin32Test, CloseRequestFromOutsideRunsTheCloseInTheEventPass) {
  Rig rig;
  HWND window = rig.host.handle();
  rig.host.ShowNormal();
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(rig.events.log, Log{});
  rig.host.ProcessEvents(std::nullopt);
  EXPECT_EQ(rig.events.log, (Log{"QueryUnload", "Unload"}));
  EXPECT_FALSE(IsWindow(window));
}

// The system may end the process as soon as it has the answer to WM_ENDSESSION: the whole close
// runs before the answer, not in a later event pass.
TEST(SaverWindowWin32Test, LogOffIsAllowedAndEndingTheSessionClosesBeforeAnswering) {
  const MessageCase cases[] = {
      {"may the session end", WM_QUERYENDSESSION, 0, {}},
      {"the session ends", WM_ENDSESSION, TRUE, {"QueryUnload", "Unload"}},
      {"the session goes on after all", WM_ENDSESSION, FALSE, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Rig rig;
    HWND window = rig.host.handle();
    rig.host.ShowNormal();
    // Only the question has an answer that counts: TRUE, the session may end.
    const LRESULT answer = SendMessageA(window, c.message, c.wparam, ENDSESSION_LOGOFF);
    EXPECT_EQ(answer, c.message == WM_QUERYENDSESSION ? TRUE : 0);
    EXPECT_EQ(rig.events.log, c.expected);
    EXPECT_EQ(IsWindow(window) != FALSE, c.expected.empty());
  }
}

// While the scene is built only what the system sends is served: a log-off, sent from another
// thread as the system sends it, is answered and closes the window; a key meanwhile waits.
TEST(SaverWindowWin32Test, ServingRequestsAnswersALogOffAndLeavesInputQueued) {
  Rig rig;
  HWND window = rig.host.handle();
  rig.host.ShowNormal();
  PostMessageA(window, WM_KEYDOWN, 'A', 0);
  DWORD_PTR may_end = 0;
  DWORD_PTR ended = 1;
  std::atomic<bool> done{false};
  std::thread system([&] {
    SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 5000,
                        &may_end);
    SendMessageTimeoutA(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 5000, &ended);
    done = true;
  });
  while (!done) {
    rig.host.ServeRequests();
    Sleep(5);
  }
  system.join();
  EXPECT_EQ(may_end, static_cast<DWORD_PTR>(TRUE));
  EXPECT_EQ(ended, 0u);
  EXPECT_EQ(rig.events.log, (Log{"QueryUnload", "Unload"}));
  EXPECT_FALSE(IsWindow(window));
}

TEST(SaverWindowWin32Test, CloseRequestBeforeTheHandlersAreConnectedClosesWithoutThem) {
  Win32SaverWindowHost host;
  HWND window = host.handle();
  PostMessageA(window, WM_CLOSE, 0, 0);
  PostMessageA(window, WM_KEYDOWN, VK_SHIFT, 0);
  host.ProcessEvents(std::nullopt);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(host.handle(), nullptr);
}

TEST(SaverWindowWin32Test, KeysAndButtonsReachTheHandlersMouseMovesDoNot) {
  const MessageCase cases[] = {
      {"lone Shift", WM_KEYDOWN, VK_SHIFT, {"KeyDown"}},
      {"lone Ctrl", WM_KEYDOWN, VK_CONTROL, {"KeyDown"}},
      {"lone Alt", WM_SYSKEYDOWN, VK_MENU, {"KeyDown"}},
      {"F10", WM_SYSKEYDOWN, VK_F10, {"KeyDown"}},
      {"letter", WM_KEYDOWN, 'A', {"KeyDown"}},
      {"left button", WM_LBUTTONDOWN, MK_LBUTTON, {"MouseDown"}},
      {"right button with Shift", WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT, {"MouseDown"}},
      {"middle button", WM_MBUTTONDOWN, MK_MBUTTON, {"MouseDown"}},
      {"side button", WM_XBUTTONDOWN, MAKEWPARAM(0, XBUTTON1), {"MouseDown"}},
      {"mouse move", WM_MOUSEMOVE, 0, {}},
      {"key up", WM_KEYUP, VK_SHIFT, {}},
      {"button up", WM_LBUTTONUP, 0, {}},
      {"wheel", WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Rig rig;
    rig.host.ShowNormal();
    rig.host.ProcessEvents(std::nullopt);
    rig.events.log.clear();
    PostMessageA(rig.host.handle(), c.message, c.wparam, MAKELPARAM(100, 100));
    rig.host.ProcessEvents(std::nullopt);
    EXPECT_EQ(rig.events.log, c.expected);
  }
}

TEST(SaverWindowWin32Test, InputThatClosesTheWindowEndsThePassCleanly) {
  Rig rig;
  rig.events.close_on_input = true;
  HWND window = rig.host.handle();
  rig.host.ShowNormal();
  rig.host.StartTimer(SaverTimer::kTimer2, 10);
  PostMessageA(window, WM_KEYDOWN, VK_SHIFT, 0);
  PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);  // arrives after the window is gone
  rig.host.ProcessEvents(std::nullopt);
  EXPECT_EQ(rig.events.log, (Log{"KeyDown", "QueryUnload", "Unload"}));
  EXPECT_FALSE(IsWindow(window));
}

// The wait until the next frame is due runs the timers on time meanwhile and lasts until that time;
// input that closes the window ends it at once.
TEST(SaverWindowWin32Test, TheWaitForTheNextFrameRunsTimersAndEndsAtItsTimeOrAtAClose) {
  using std::chrono::milliseconds;
  const struct {
    const char* what;
    bool key_after_100_ms;
    milliseconds wait, at_least, below;
    int ticks_at_least;  // of a 50 ms timer
  } cases[] = {
      {"only the timer", false, milliseconds(300), milliseconds(300), milliseconds(1000), 4},
      {"a key", true, milliseconds(5000), milliseconds(100), milliseconds(1000), 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Rig rig;
    rig.events.close_on_input = true;
    HWND window = rig.host.handle();
    rig.host.ShowNormal();
    rig.host.ProcessEvents(std::nullopt);
    rig.events.log.clear();
    rig.host.StartTimer(SaverTimer::kTimer2, 50);
    if (c.key_after_100_ms) {
      SetTimer(window, 99, 100, [](HWND target, UINT, UINT_PTR id, DWORD) {
        KillTimer(target, id);
        PostMessageA(target, WM_KEYDOWN, VK_SHIFT, 0);
      });
    }
    const FrameTime start = rig.host.clock().Now();
    rig.host.ProcessEvents(start + c.wait);
    const FrameTime took = rig.host.clock().Now() - start;
    EXPECT_GE(took, c.at_least);
    EXPECT_LT(took, c.below);
    EXPECT_GE(std::count(rig.events.log.begin(), rig.events.log.end(), "Timer2"), c.ticks_at_least);
    EXPECT_EQ(IsWindow(window) == FALSE, c.key_after_100_ms);
  }
}

}  // namespace
}  // namespace tolvenar::win32
