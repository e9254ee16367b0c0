// The button as a child of a real window: what it paints, how fast it sees the pointer leave and
// how many clicks a press and release give.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "button/win32/command_button_win32.h"
#include "runtime/picture.h"
#include "runtime/win32/embedded_data_win32.h"
#include "runtime/win32/persistent_surface_win32.h"
#include "runtime/win32/user_services_win32.h"
#include "win32/window_events.h"

namespace tolvenar::win32 {
namespace {

using testing::MouseButton;
using testing::MovePointer;
using testing::Pump;

constexpr wchar_t kContainerClass[] = L"TolvenarButtonTestContainer";
constexpr int kButtonX = 20, kButtonY = 30, kButtonWidth = 117, kButtonHeight = 28;

std::string Rgb(std::uint32_t rgb) {
  char text[32];
  std::snprintf(text, sizeof text, "(%u,%u,%u)", (rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
  return text;
}

std::uint32_t SkinPixel(const Picture& skin, int x, int y) {
  const std::uint8_t* p = &skin.rgb[(static_cast<size_t>(y) * skin.width + x) * 3];
  return static_cast<std::uint32_t>(p[0]) << 16 | p[1] << 8 | p[2];
}

class ButtonWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSEXW window_class = {};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = DefWindowProcW;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    window_class.lpszClassName = kContainerClass;
    RegisterClassExW(&window_class);
    container_ = CreateWindowExW(0, kContainerClass, L"container", WS_POPUP | WS_VISIBLE, 0, 0, 300,
                                 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(container_, nullptr);
    CommandButtonPlacement placement;
    placement.x = kButtonX;
    placement.y = kButtonY;
    placement.width = kButtonWidth;
    placement.height = kButtonHeight;
    placement.caption = "設定";
    button_ = CommandButtonWin32::Create(container_, placement, embedded_, pointer_,
                                         [this] { ++clicks_; });
    ASSERT_NE(button_, nullptr);
    SetForegroundWindow(container_);
    Pump(50);
  }
  void TearDown() override {
    button_.reset();
    if (container_) DestroyWindow(container_);
    Pump(10);
  }

  // Screen coordinates of a point in the button.
  POINT ButtonPoint(int x, int y) const {
    POINT point = {x, y};
    ClientToScreen(button_->Handle(), &point);
    return point;
  }

  void MoveOver() {
    const POINT centre = ButtonPoint(kButtonWidth / 2, kButtonHeight / 2);
    SetCursorPos(centre.x, centre.y);
    SendMessageW(button_->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(kButtonWidth / 2, 5));
  }

  // The button as it shows on screen (image and caption), read back through WM_PRINTCLIENT.
  MemoryImage Rendered() const {
    MemoryImage shown(kButtonWidth, kButtonHeight);
    SendMessageW(button_->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(shown.dc()),
                 PRF_CLIENT);
    return shown;
  }

  Win32EmbeddedData embedded_;
  Win32PointerLocator pointer_;
  HWND container_ = nullptr;
  std::unique_ptr<CommandButtonWin32> button_;
  int clicks_ = 0;
};

TEST_F(ButtonWindowTest, LoadsEnabledAndPaintsTheNormalSkinsCorners) {
  EXPECT_EQ(button_->Control().ButtonEnabled(), kTrue);
  EXPECT_EQ(button_->Control().Caption(), "設定");
  Win32EmbeddedData data;
  const auto skin = DecodePicture(data.Bytes("SKIN_NORMAL"));
  ASSERT_TRUE(skin.has_value());
  ASSERT_EQ(skin->width, 64);
  ASSERT_EQ(skin->height, 25);
  const MemoryImage& image = button_->Surface().image();
  ASSERT_EQ(image.width(), kButtonWidth);
  ASSERT_EQ(image.height(), kButtonHeight);
  // The four 4 x 4 corners come unscaled from the skin's corners.
  struct Corner {
    const char* name;
    int image_x, image_y, skin_x, skin_y;
  } corners[] = {{"top left", 0, 0, 0, 0},
                 {"top right", kButtonWidth - 4, 0, 60, 0},
                 {"bottom left", 0, kButtonHeight - 4, 0, 21},
                 {"bottom right", kButtonWidth - 4, kButtonHeight - 4, 60, 21}};
  for (const Corner& corner : corners) {
    for (int dy = 0; dy < 4; ++dy) {
      for (int dx = 0; dx < 4; ++dx) {
        SCOPED_TRACE(std::string(corner.name) + " +" + std::to_string(dx) + "," +
                     std::to_string(dy));
        EXPECT_EQ(Rgb(image.Pixel(corner.image_x + dx, corner.image_y + dy)),
                  Rgb(SkinPixel(*skin, corner.skin_x + dx, corner.skin_y + dy)));
      }
    }
  }
  // The stretched top edge carries the frame colour along the whole width.
  for (int x = 4; x < kButtonWidth - 4; x += 7) {
    EXPECT_EQ(Rgb(image.Pixel(x, 1)), Rgb(0x003C74)) << "x " << x;
  }
}

TEST_F(ButtonWindowTest, GradientTopRowFollowsTheLook) {
  Command& command = button_->Control();
  button_->Initialize();
  auto top_row_of_fill = [&] {
    // The control's own gradient records filled into a bare surface of the same size.
    Win32PersistentSurface bare;
    bare.Resize(kButtonWidth, kButtonHeight);
    bare.FillGradient(command.Vertices().data(), 4, &command.GradientRect(), 1, true);
    return std::make_pair(bare.image().Pixel(50, 0), bare.image().Pixel(kButtonWidth - 1, 5));
  };
  auto [normal_top, normal_far_column] = top_row_of_fill();
  EXPECT_EQ(Rgb(normal_top), Rgb(0xFFFFFF));
  // The far end is exclusive: the last column keeps the background.
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(Rgb(normal_far_column), Rgb(static_cast<std::uint32_t>(GetRValue(face)) << 16 |
                                        GetGValue(face) << 8 | GetBValue(face)));
  // In the button, just inside the ring, the Normal look is still nearly white.
  const std::uint32_t normal_inside = button_->Surface().image().Pixel(50, 4);
  EXPECT_GE((normal_inside >> 16) & 0xFF, 240u) << Rgb(normal_inside);

  MoveOver();
  ASSERT_EQ(command.State(), kStateHighLight);
  const std::uint32_t highlight_top = top_row_of_fill().first;
  EXPECT_EQ(Rgb(highlight_top), Rgb(0xC6C5D7));
  const std::uint32_t highlight_inside = button_->Surface().image().Pixel(50, 4);
  EXPECT_LE((highlight_inside >> 16) & 0xFF, 215u) << Rgb(highlight_inside);
  // Near the bottom the HighLight gradient turns white again.
  const std::uint32_t highlight_low = button_->Surface().image().Pixel(50, kButtonHeight - 5);
  EXPECT_GE((highlight_low >> 16) & 0xFF, 240u) << Rgb(highlight_low);
}

TEST_F(ButtonWindowTest, CaptionIsDrawnCentred) {
  const MemoryImage shown = Rendered();
  int left = kButtonWidth, right = -1, top = kButtonHeight, bottom = -1;
  for (int y = 4; y < kButtonHeight - 4; ++y) {
    for (int x = 4; x < kButtonWidth - 4; ++x) {
      const std::uint32_t p = shown.Pixel(x, y);
      const unsigned brightness = ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF);
      if (brightness < 3 * 110) {  // dark text over the light gradient
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
    }
  }
  ASSERT_GE(right, 0) << "no caption pixels";
  std::printf("caption box x %d..%d y %d..%d\n", left, right, top, bottom);
  EXPECT_GT(right - left, 10);  // two full-width characters, some 24 pixels
  EXPECT_NEAR((left + right) / 2.0, (kButtonWidth - 1) / 2.0, 2.0);
  // The label box starts at (420 - 195 - 20) / 2 twips, about pixel 7, and is 13 pixels high.
  EXPECT_GE(top, 6);
  EXPECT_LE(bottom, 7 + 13);
}

TEST_F(ButtonWindowTest, PointerLeavingIsNoticedWithinOneTick) {
  button_->Initialize();
  MoveOver();
  ASSERT_EQ(button_->Control().State(), kStateHighLight);
  Pump(150);  // pointer still over: ticks keep the hover look
  ASSERT_EQ(button_->Control().State(), kStateHighLight);

  POINT away = {250, 150};  // the container, clear of the button
  ClientToScreen(container_, &away);
  SetCursorPos(away.x, away.y);
  const auto start = std::chrono::steady_clock::now();
  while (button_->Control().State() == kStateHighLight &&
         std::chrono::steady_clock::now() - start < std::chrono::milliseconds(1000)) {
    Pump(5);
  }
  const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(
                          std::chrono::steady_clock::now() - start)
                          .count();
  std::printf("leaving noticed after %lld ms\n", static_cast<long long>(waited));
  EXPECT_EQ(button_->Control().State(), kStateNormal);
  EXPECT_LE(waited, 100 + 60);  // one tick, with slack for the timer and a busy machine
}

TEST_F(ButtonWindowTest, MoveOverPressAndReleaseGiveExactlyOneClick) {
  button_->Initialize();
  const POINT centre = ButtonPoint(kButtonWidth / 2, kButtonHeight / 2);
  // Real input: the pointer moves over the button, the left button goes down and up.
  ASSERT_TRUE(MovePointer(centre));
  Pump(60);
  EXPECT_EQ(button_->Control().State(), kStateHighLight);
  ASSERT_TRUE(MouseButton(MOUSEEVENTF_LEFTDOWN));
  Pump(60);
  EXPECT_EQ(GetFocus(), button_->Handle());
  EXPECT_EQ(button_->Control().State(), kStateHighLightSelect);
  EXPECT_EQ(button_->Control().MouseIsDown(), kTrue);
  EXPECT_EQ(clicks_, 0);
  ASSERT_TRUE(MouseButton(MOUSEEVENTF_LEFTUP));
  Pump(60);
  EXPECT_EQ(clicks_, 1);
  EXPECT_EQ(button_->Control().MouseIsDown(), kFalse);
  EXPECT_EQ(GetCapture(), nullptr);
  Pump(150);
  EXPECT_EQ(clicks_, 1);
}

TEST_F(ButtonWindowTest, OnlyAReleaseThatFollowsAPressOnTheButtonClicks) {
  button_->Initialize();
  const LPARAM at = MAKELPARAM(kButtonWidth / 2, kButtonHeight / 2);
  const HWND button = button_->Handle();
  struct Case {
    const char* name;
    UINT down, up;  // 0: that message is not sent
    bool capture_taken;
    int clicks;
  } cases[] = {
      {"left release dragged in from elsewhere", 0, WM_LBUTTONUP, false, 0},
      {"right release dragged in from elsewhere", 0, WM_RBUTTONUP, false, 0},
      {"right press and release", WM_RBUTTONDOWN, WM_RBUTTONUP, false, 1},
      {"middle press and release", WM_MBUTTONDOWN, WM_MBUTTONUP, false, 1},
      {"the mouse taken by another window", WM_RBUTTONDOWN, WM_RBUTTONUP, true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    clicks_ = 0;
    if (c.down) SendMessageW(button, c.down, 0, at);
    if (c.capture_taken) SetCapture(container_);
    SendMessageW(button, c.up, 0, at);
    ReleaseCapture();
    EXPECT_EQ(clicks_, c.clicks);
  }
}

TEST_F(ButtonWindowTest, DisabledButtonPaintsDisableAndDoesNotClick) {
  button_->Initialize();
  button_->SetEnabled(false);
  Win32EmbeddedData data;
  const auto skin = DecodePicture(data.Bytes("SKIN_DISABLE"));
  ASSERT_TRUE(skin.has_value());
  EXPECT_EQ(Rgb(button_->Surface().image().Pixel(10, 1)), Rgb(SkinPixel(*skin, 10, 1)));
  const LPARAM at = MAKELPARAM(kButtonWidth / 2, kButtonHeight / 2);
  SendMessageW(button_->Handle(), WM_MOUSEMOVE, 0, at);
  SendMessageW(button_->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(button_->Handle(), WM_LBUTTONUP, 0, at);
  EXPECT_EQ(clicks_, 0);
  EXPECT_EQ(button_->Control().State(), kStateNormal);
}

}  // namespace
}  // namespace tolvenar::win32
