#include "button/win32/command_button_win32.h"

#include <windowsx.h>

#include <cmath>
#include <string>
#include <utility>

#include "runtime/win32/persistent_surface_win32.h"
#include "runtime/win32/pixel_geometry_win32.h"
#include "runtime/screen_units.h"
#include "runtime/win32/window_win32.h"

#include "runtime/win32/text_encoding.h"

namespace tolvenar::win32 {
namespace {

constexpr wchar_t kClassName[] = L"TolvenarCommand";
constexpr UINT_PTR kMouseTimerId = 1;
// The caption: a windowless label drawn over the control's image on every paint.
class Win32StyledLabel final : public CaptionLabel {
 public:
  void Attach(HWND window) { window_ = window; }

  void Draw(HDC dc) const {
    if (caption().empty()) return;
    const std::wstring text = Widen(caption());
    const SelectedObject selected_font(dc, handle_.get());
    const int previous_mode = SetBkMode(dc, TRANSPARENT);
    const UINT format = DT_CENTER | DT_TOP | DT_WORDBREAK;
    RECT box = ToRect(Box());
    if (enabled()) {
      SetTextColor(dc, static_cast<COLORREF>(colour()));
      DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, format);
    } else {
      // Greyed: an etched highlight one pixel down-right under the grey text.
      RECT etched = box;
      OffsetRect(&etched, 1, 1);
      SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
      DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &etched, format);
      SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
      DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, format);
    }
    SetBkMode(dc, previous_mode);
  }

 private:
  void FontChanged() override {
    // Height from points at the control's resolution, as a character height (negative).
    const FontDescription& f = font();
    const int height = FontHeightOfPoints(f.size_points, twips_per_pixel());
    handle_ = UniqueFont(CreateFontW(height, 0, 0, 0, f.weight, f.italic, f.underline,
                                     f.strikethrough, static_cast<DWORD>(f.charset),
                                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                     DEFAULT_PITCH | FF_DONTCARE, Widen(f.face_name).c_str()));
  }
  void Invalidate() override {
    if (window_) InvalidateRect(window_, nullptr, FALSE);
  }

  HWND window_ = nullptr;
  UniqueFont handle_;
};

class Win32IntervalTimer final : public IntervalTimer {
 public:
  void Attach(HWND window) {
    window_ = window;
    Apply();
  }
  void SetEnabled(bool enabled) override {
    enabled_ = enabled;
    Apply();
  }
  void SetInterval(std::uint32_t milliseconds) override {
    interval_ = milliseconds;
    Apply();
  }

 private:
  void Apply() {
    if (!window_) return;
    if (enabled_ && interval_ > 0) {
      SetTimer(window_, kMouseTimerId, interval_, nullptr);
    } else {
      KillTimer(window_, kMouseTimerId);
    }
  }
  HWND window_ = nullptr;
  bool enabled_ = false;
  std::uint32_t interval_ = 0;
};

class Win32ControlHost final : public ControlHost {
 public:
  void Attach(HWND window) { window_ = window; }
  void SetTwipsPerPixel(double twips_per_pixel) { twips_per_pixel_ = twips_per_pixel; }
  // The container stores the properties itself when it is saved; nothing to note at run time.
  void PropertyChanged(const std::string& name) override {}
  FontDescription AmbientFont() override {
    const HWND parent = window_ ? GetParent(window_) : nullptr;
    const HFONT font =
        parent ? reinterpret_cast<HFONT>(SendMessageW(parent, WM_GETFONT, 0, 0)) : nullptr;
    LOGFONTW log = {};
    if (!font || GetObjectW(font, sizeof log, &log) != sizeof log) return DesignFont();
    FontDescription ambient;
    ambient.face_name = Narrow(log.lfFaceName);
    ambient.size_points = PointsOfFontHeight(log.lfHeight, twips_per_pixel_);
    ambient.weight = static_cast<std::int16_t>(log.lfWeight);
    ambient.italic = log.lfItalic != 0;
    ambient.underline = log.lfUnderline != 0;
    ambient.strikethrough = log.lfStrikeOut != 0;
    ambient.charset = log.lfCharSet;
    return ambient;
  }
  WindowHandle ContainerWindow() override {
    return reinterpret_cast<WindowHandle>(window_ ? GetParent(window_) : nullptr);
  }
  WindowHandle ControlWindow() override { return reinterpret_cast<WindowHandle>(window_); }

 private:
  HWND window_ = nullptr;
  double twips_per_pixel_ = TwipsPerPixel(kUsualDotsPerInch);
};

std::int16_t ShiftState(WPARAM keys) {
  std::int16_t shift = 0;
  if (keys & MK_SHIFT) shift |= 1;
  if (keys & MK_CONTROL) shift |= 2;
  if (GetKeyState(VK_MENU) < 0) shift |= 4;
  return shift;
}

std::int16_t HeldButtons(WPARAM keys) {
  std::int16_t buttons = 0;
  if (keys & MK_LBUTTON) buttons |= kLeftButton;
  if (keys & MK_RBUTTON) buttons |= kRightButton;
  if (keys & MK_MBUTTON) buttons |= kMiddleButton;
  return buttons;
}

}  // namespace

// The button's window and the parts that serve its messages.
class CommandButtonWin32::Parts final : public Window {
 public:
  Parts(SkinSet skins, PointerLocator& pointer)
      : command(surface, label, timer, pointer, host, std::move(skins)) {}
  Parts(const Parts&) = delete;
  Parts& operator=(const Parts&) = delete;
  ~Parts() override { DestroyQuietly(); }

  bool Create(HWND parent, const CommandButtonPlacement& placement) {
    surface.SetTwipsPerPixel(placement.twips_per_pixel);
    label.SetTwipsPerPixel(placement.twips_per_pixel);
    host.SetTwipsPerPixel(placement.twips_per_pixel);
    return CreateHandle(
        kClassName, L"", WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS, 0,
        {placement.x, placement.y, placement.x + placement.width, placement.y + placement.height},
        parent, placement.control_id);
  }

  Win32PersistentSurface surface;
  Win32StyledLabel label;
  Win32IntervalTimer timer;
  Win32ControlHost host;
  PressedButtons pressed;
  Command command;

 private:
  void Attach(HWND hwnd) {
    surface.Attach(hwnd);
    label.Attach(hwnd);
    timer.Attach(hwnd);
    host.Attach(hwnd);
  }
  void OnPaint(HDC dc) override;
  void OnTimer(UINT_PTR id) override {
    if (id == kMouseTimerId) command.TmrMouse_Timer();
  }
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
};

namespace {

using Parts = CommandButtonWin32::Parts;

enum class MouseEvent { kDown, kMove, kUp };

// Routes a mouse event to the caption's handler when it falls on the caption's box, else to the
// control's; the caption passes it on unchanged.
void Mouse(Parts& parts, MouseEvent event, std::int16_t button, WPARAM keys, LPARAM position) {
  const POINT point = {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
  const std::int16_t shift = ShiftState(keys);
  const double twips_per_pixel = parts.surface.TwipsPerPixel();
  const double x = static_cast<double>(point.x) * twips_per_pixel;
  const double y = static_cast<double>(point.y) * twips_per_pixel;
  const RECT box = ToRect(parts.label.Box());
  Command& c = parts.command;
  if (PtInRect(&box, point)) {
    const double lx = x - box.left * twips_per_pixel;
    const double ly = y - box.top * twips_per_pixel;
    if (event == MouseEvent::kDown) c.LblMsg_MouseDown(button, shift, lx, ly);
    if (event == MouseEvent::kMove) c.LblMsg_MouseMove(button, shift, lx, ly);
    if (event == MouseEvent::kUp) c.LblMsg_MouseUp(button, shift, lx, ly);
    return;
  }
  if (event == MouseEvent::kDown) c.UserControl_MouseDown(button, shift, x, y);
  if (event == MouseEvent::kMove) c.UserControl_MouseMove(button, shift, x, y);
  if (event == MouseEvent::kUp) c.UserControl_MouseUp(button, shift, x, y);
}

void Press(HWND window, Parts& parts, std::int16_t button, WPARAM keys, LPARAM position) {
  // Like a standard button, a left press takes the focus first.
  if (button == kLeftButton && GetFocus() != window) SetFocus(window);
  // The button keeps the mouse until the release, wherever the pointer goes meanwhile.
  SetCapture(window);
  parts.pressed.Press(button);
  Mouse(parts, MouseEvent::kDown, button, keys, position);
}

void Release(HWND window, Parts& parts, std::int16_t button, WPARAM keys, LPARAM position) {
  // A release whose press went down elsewhere (dragged in from another control) is not ours.
  const bool pressed_here = parts.pressed.Release(button);
  if ((keys & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0 && GetCapture() == window) {
    ReleaseCapture();
  }
  if (!pressed_here) return;
  // The container's Click handler runs in here and may destroy this window: nothing after it.
  Mouse(parts, MouseEvent::kUp, button, keys, position);
}

void Paint(Parts& parts, HDC dc) {
  parts.surface.PaintInto(dc);
  parts.label.Draw(dc);
}

}  // namespace

void CommandButtonWin32::Parts::OnPaint(HDC dc) { Paint(*this, dc); }

LRESULT CommandButtonWin32::Parts::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  const HWND window = handle();
  switch (message) {
    case WM_NCCREATE:
      Attach(window);
      break;
    case WM_SIZE:
      surface.Resize(LOWORD(lparam), HIWORD(lparam));
      command.UserControl_Resize();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint covers everything
    case WM_PRINTCLIENT:
      Paint(*this, reinterpret_cast<HDC>(wparam));
      return 0;
    case WM_MOUSEMOVE:
      Mouse(*this, MouseEvent::kMove, HeldButtons(wparam), wparam, lparam);
      return 0;
    case WM_LBUTTONDOWN:
      Press(window, *this, kLeftButton, wparam, lparam);
      return 0;
    case WM_RBUTTONDOWN:
      Press(window, *this, kRightButton, wparam, lparam);
      return 0;
    case WM_MBUTTONDOWN:
      Press(window, *this, kMiddleButton, wparam, lparam);
      return 0;
    case WM_LBUTTONUP:
      Release(window, *this, kLeftButton, wparam, lparam);
      return 0;
    case WM_RBUTTONUP:
      Release(window, *this, kRightButton, wparam, lparam);
      return 0;
    case WM_MBUTTONUP:
      Release(window, *this, kMiddleButton, wparam, lparam);
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lparam) != window) pressed.Cancel();
      return 0;
    case WM_SETFOCUS:
      command.UserControl_GotFocus();
      return 0;
    case WM_KILLFOCUS:
      command.UserControl_LostFocus();
      return 0;
    case WM_NCDESTROY:
      Attach(nullptr);
      break;
    default:
      break;
  }
  return DefaultMessage(message, wparam, lparam);
}

CommandButtonWin32::CommandButtonWin32(std::unique_ptr<Parts> parts) : parts_(std::move(parts)) {}

CommandButtonWin32::~CommandButtonWin32() = default;

std::unique_ptr<CommandButtonWin32> CommandButtonWin32::Create(
    HWND parent, const CommandButtonPlacement& placement, EmbeddedData& embedded,
    PointerLocator& pointer, std::function<void()> on_click) {
  if (!RegisterWindowClass({kClassName})) return nullptr;
  auto parts = std::make_unique<Parts>(LoadSkins(embedded), pointer);
  parts->command.SetClickHandler(std::move(on_click));
  // Created hidden: the first size paints the new (still disabled) instance, then the stored
  // properties are read and the button shows.
  if (!parts->Create(parent, placement)) return nullptr;
  MemoryPropertyBag stored;
  stored.values["Caption"] = placement.caption;
  stored.values["Font"] = placement.font;
  parts->command.UserControl_ReadProperties(stored);
  ShowWindow(parts->handle(), SW_SHOWNA);
  return std::unique_ptr<CommandButtonWin32>(new CommandButtonWin32(std::move(parts)));
}

HWND CommandButtonWin32::Handle() const { return parts_->handle(); }

void CommandButtonWin32::Initialize() { parts_->command.Initialize(); }

void CommandButtonWin32::SetEnabled(bool enabled) {
  parts_->command.SetEnabled(enabled ? kTrue : kFalse);
}

bool CommandButtonWin32::Enabled() { return parts_->command.Enabled() != kFalse; }

Command& CommandButtonWin32::Control() { return parts_->command; }

const Win32PersistentSurface& CommandButtonWin32::Surface() const { return parts_->surface; }

}  // namespace tolvenar::win32
