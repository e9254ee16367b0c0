#include "settings_dialog/win32/dialog_buttons_win32.h"

#include <string>
#include <utility>

#include "button/win32/command_button_win32.h"
#include "settings_dialog/layout.h"
#include "settings_dialog/win32/focus_win32.h"

namespace tolvenar::win32 {
namespace {

CommandButtonPlacement PlacementOf(RECT box, double twips_per_pixel, std::string_view caption) {
  CommandButtonPlacement placement;
  placement.x = box.left;
  placement.y = box.top;
  placement.width = box.right - box.left;
  placement.height = box.bottom - box.top;
  placement.twips_per_pixel = twips_per_pixel;
  placement.caption = std::string(caption);
  placement.font = dialog_layout::DialogFont();
  return placement;
}

// What a button is made from, kept for making it again.
struct ButtonMaking {
  HWND parent;
  std::string caption;
  EmbeddedData& embedded;
  PointerLocator& pointer;
  std::function<void()> on_click;

  std::unique_ptr<CommandButtonWin32> Make(RECT box, double twips_per_pixel) const {
    return CommandButtonWin32::Create(parent, PlacementOf(box, twips_per_pixel, caption), embedded,
                                      pointer, on_click);
  }
};

class Win32DialogButton final : public DialogButton {
 public:
  Win32DialogButton(ButtonMaking making, std::unique_ptr<CommandButtonWin32> button)
      : making_(std::move(making)), button_(std::move(button)) {}
  void Initialize() override {
    initialized_ = true;
    button_->Initialize();
  }
  // The container disables the window as well: a disabled button takes no pointer or keyboard
  // input and the tab key passes it by. A button that holds the focus hands it to the next control
  // first, while it still reacts, so that its look follows the focus (a disabled window would
  // lose it unseen, keep its focused state and swallow the next click); then it is disabled.
  void SetEnabled(bool enabled) override {
    const HWND window = button_->Handle();
    if (!enabled) HandFocusOnBeforeDisabling(window);
    enabled_ = enabled;
    button_->SetEnabled(enabled);
    EnableWindow(window, enabled);
  }
  void Rebuild(RECT box, double twips_per_pixel) override {
    const HWND old = button_->Handle();
    const bool had_focus = GetFocus() == old;
    const HWND before = GetWindow(old, GW_HWNDPREV);
    std::unique_ptr<CommandButtonWin32> fresh = making_.Make(box, twips_per_pixel);
    if (!fresh) return;
    button_ = std::move(fresh);
    const HWND window = button_->Handle();
    SetWindowPos(window, before ? before : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (initialized_) button_->Initialize();
    if (!enabled_) {
      button_->SetEnabled(false);
      EnableWindow(window, FALSE);
    }
    if (had_focus) SetFocus(window);
  }

 private:
  ButtonMaking making_;
  std::unique_ptr<CommandButtonWin32> button_;
  bool initialized_ = false;
  bool enabled_ = true;
};

}  // namespace

std::unique_ptr<DialogButton> MakeDialogButton(HWND parent, RECT box, double twips_per_pixel,
                                               std::string_view caption, EmbeddedData& embedded,
                                               PointerLocator& pointer,
                                               std::function<void()> on_click) {
  ButtonMaking making{parent, std::string(caption), embedded, pointer, std::move(on_click)};
  std::unique_ptr<CommandButtonWin32> button = making.Make(box, twips_per_pixel);
  if (!button) return nullptr;
  return std::make_unique<Win32DialogButton>(std::move(making), std::move(button));
}

}  // namespace tolvenar::win32
