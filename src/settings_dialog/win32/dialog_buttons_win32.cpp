#include "settings_dialog/win32/dialog_buttons_win32.h"

#include <string>
#include <utility>

namespace tolvenar::win32 {
namespace {

constexpr wchar_t kButtonProperty[] = L"TolvenarDialogButton";

std::wstring WidenUtf8(std::string_view text) {
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
  if (length > 0) MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
  return wide;
}

// A standard push button; it reports its clicks to the parent through WM_COMMAND.
class PushButton final : public CommandControl {
 public:
  PushButton(HWND hwnd, std::function<void()> on_click)
      : hwnd_(hwnd), on_click_(std::move(on_click)) {
    SetPropW(hwnd_, kButtonProperty, this);
  }
  PushButton(const PushButton&) = delete;
  PushButton& operator=(const PushButton&) = delete;
  ~PushButton() override {
    if (IsWindow(hwnd_)) RemovePropW(hwnd_, kButtonProperty);
  }
  void Initialize() override {}  // a standard button has no hover looks to start
  void SetEnabled(bool enabled) override { EnableWindow(hwnd_, enabled); }
  void Click() {
    if (on_click_) on_click_();
  }

 private:
  HWND hwnd_;
  std::function<void()> on_click_;
};

}  // namespace

std::unique_ptr<CommandControl> MakeDialogButton(HWND parent, RECT box, std::string_view caption,
                                                 const ButtonFont& font,
                                                 std::function<void()> on_click) {
  HWND hwnd = CreateWindowExW(0, L"BUTTON", WidenUtf8(caption).c_str(),
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, box.left, box.top,
                              box.right - box.left, box.bottom - box.top, parent, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  if (!hwnd) return nullptr;
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font.font), FALSE);
  return std::make_unique<PushButton>(hwnd, std::move(on_click));
}

void ClickDialogButton(HWND button) {
  if (auto* push = static_cast<PushButton*>(GetPropW(button, kButtonProperty))) push->Click();
}

}  // namespace tolvenar::win32
