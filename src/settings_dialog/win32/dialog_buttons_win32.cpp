#include "settings_dialog/win32/dialog_buttons_win32.h"

#include <string>
#include <utility>

#include "button/win32/command_button_win32.h"
#include "settings_dialog/layout.h"

namespace tolvenar::win32 {
namespace {

class DialogButton final : public CommandControl {
 public:
  explicit DialogButton(std::unique_ptr<CommandButtonWin32> button) : button_(std::move(button)) {}
  void Initialize() override { button_->Initialize(); }
  // The container disables the window as well: a disabled button takes no pointer or keyboard
  // input and the tab key passes it by. A button that holds the focus hands it to the next control
  // first, while it still reacts, so that its look follows the focus (a disabled window would
  // lose it unseen, keep its focused state and swallow the next click); then it is disabled.
  void SetEnabled(bool enabled) override {
    const HWND window = button_->Handle();
    if (!enabled && GetFocus() == window) {
      const HWND next = GetNextDlgTabItem(GetAncestor(window, GA_ROOT), window, FALSE);
      SetFocus(next != window ? next : nullptr);
    }
    button_->SetEnabled(enabled);
    EnableWindow(window, enabled);
  }

 private:
  std::unique_ptr<CommandButtonWin32> button_;
};

}  // namespace

std::unique_ptr<CommandControl> MakeDialogButton(HWND parent, RECT box, double twips_per_pixel,
                                                 std::string_view caption, EmbeddedData& embedded,
                                                 PointerLocator& pointer,
                                                 std::function<void()> on_click) {
  CommandButtonPlacement placement;
  placement.x = box.left;
  placement.y = box.top;
  placement.width = box.right - box.left;
  placement.height = box.bottom - box.top;
  placement.twips_per_pixel = twips_per_pixel;
  placement.caption = std::string(caption);
  placement.font.face_name = std::string(dialog_layout::kFontName);
  placement.font.size_points = dialog_layout::kFontPoints;
  placement.font.weight = static_cast<std::int16_t>(dialog_layout::kFontWeight);
  placement.font.charset = static_cast<std::int16_t>(dialog_layout::kFontCharset);
  std::unique_ptr<CommandButtonWin32> button =
      CommandButtonWin32::Create(parent, placement, embedded, pointer, std::move(on_click));
  if (!button) return nullptr;
  return std::make_unique<DialogButton>(std::move(button));
}

}  // namespace tolvenar::win32
