#include "settings_dialog/win32/settings_dialog_win32.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "runtime/win32/handles.h"
#include "runtime/win32/pixel_geometry_win32.h"
#include "runtime/screen_units.h"
#include "runtime/win32/text_encoding.h"
#include "settings_dialog/form.h"
#include "settings_dialog/layout.h"
#include "settings_dialog/win32/dialog_buttons_win32.h"
#include "settings_dialog/win32/dialog_canvas_win32.h"
#include "settings_dialog/win32/repeat_box_win32.h"

namespace tolvenar::win32 {
namespace {

namespace layout = dialog_layout;

constexpr wchar_t kDialogClass[] = L"TolvenarSettingsDialog";
constexpr wchar_t kPanelClass[] = L"TolvenarSettingsPanel";
constexpr wchar_t kIconName[] = L"TOLVENAR_ICON";
constexpr wchar_t kHandPointerName[] = L"POINTING_HAND";
// Fixed size, single-line border, caption with a close box, no minimise or maximise box.
constexpr DWORD kDialogStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kDialogExStyle = WS_EX_CONTROLPARENT;

class SettingsWindow final : public ModalWindow, private WindowlessFormCanvas<SettingsWindow> {
  friend class WindowlessFormCanvas<SettingsWindow>;

 public:
  explicit SettingsWindow(const SettingsDialogShared& shared)
      : shared_(shared),
        scale_{shared.services.screen.TwipsPerPixelX(), shared.services.screen.TwipsPerPixelY()},
        pictures_(shared.embedded, &Dib::FromPicture),
        pointers_{shared.services.app_pointer},
        dialog_(scale_, pictures_, pointers_),
        panel_(scale_, pictures_, pointers_) {}
  SettingsWindow(const SettingsWindow&) = delete;
  SettingsWindow& operator=(const SettingsWindow&) = delete;
  // A window left over from a failed set-up goes without its close handlers.
  ~SettingsWindow() override = default;

  bool Create();
  void Run();

  WindowHandle Handle() override { return reinterpret_cast<WindowHandle>(dialog_.handle()); }
  double WidthTwips() override {
    RECT r{};
    GetWindowRect(dialog_.handle(), &r);
    return (r.right - r.left) * scale_.tpp_x;
  }
  double HeightTwips() override {
    RECT r{};
    GetWindowRect(dialog_.handle(), &r);
    return (r.bottom - r.top) * scale_.tpp_y;
  }
  void MoveTo(std::int32_t left_twips, std::int32_t top_twips) override {
    SetWindowPos(dialog_.handle(), nullptr, scale_.X(left_twips), scale_.Y(top_twips), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  void Close() override { PostMessageW(dialog_.handle(), WM_CLOSE, 0, 0); }
  void LayOutAt(double twips_per_pixel_x, double twips_per_pixel_y,
                const PixelRect& outer) override;

 private:
  // A control made from the form, with its place to lay it out again.
  template <typename Control>
  struct Placed {
    std::unique_ptr<Control> control;
    layout::Place place;
  };

  EditableComboBox* AddComboBox(FormSurface on, const layout::Place& place) override;
  CommandControl* AddButton(FormSurface on, const layout::Place& place, std::string_view caption,
                            std::function<void()> on_click) override;

  Canvas& CanvasOf(FormSurface on) { return on == FormSurface::kPanel ? panel_ : dialog_; }
  TextElement::Look LookOf(Colour colour, TextLook look) const;
  // The dialog's font at the current scale, underlined for the link.
  UniqueFont MakeFont(bool underline) const;

  SettingsDialogShared shared_;
  Scale scale_;
  DibPictures pictures_;
  CanvasPointers pointers_;
  UniqueFont font_;
  UniqueFont link_font_;
  std::unique_ptr<SettingsDialog> core_;
  // The windows go before what they use; the dialog window takes its children along.
  Canvas dialog_;
  Canvas panel_;
  std::vector<Placed<Win32ComboBox>> combo_boxes_;
  std::vector<Placed<DialogButton>> buttons_;  // in the order of the tab stops
};

EditableComboBox* SettingsWindow::AddComboBox(FormSurface on, const layout::Place& place) {
  std::unique_ptr<Win32ComboBox> box =
      Win32ComboBox::Create(CanvasOf(on).handle(), ToRect(scale_.Box(place)), font_.get());
  if (!box) return nullptr;
  combo_boxes_.push_back({std::move(box), place});
  return combo_boxes_.back().control.get();
}

CommandControl* SettingsWindow::AddButton(FormSurface on, const layout::Place& place,
                                          std::string_view caption,
                                          std::function<void()> on_click) {
  std::unique_ptr<DialogButton> button =
      MakeDialogButton(CanvasOf(on).handle(), ToRect(scale_.Box(place)), scale_.tpp_y, caption,
                       shared_.embedded, shared_.services.pointer, std::move(on_click));
  if (!button) return nullptr;
  buttons_.push_back({std::move(button), place});
  return buttons_.back().control.get();
}

TextElement::Look SettingsWindow::LookOf(Colour colour, TextLook look) const {
  const UINT line = DT_SINGLELINE | DT_NOPREFIX;
  switch (look) {
    case TextLook::kCentred:
      return {colour, &font_, line | DT_CENTER, CP_UTF8, false};
    case TextLook::kLink:
      return {colour, &link_font_, line, CP_UTF8, false};
    case TextLook::kFileName:
      return {colour, &font_, DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX, CP_ACP, true};
    case TextLook::kLine:
      break;
  }
  return {colour, &font_, line, CP_UTF8, false};
}

UniqueFont SettingsWindow::MakeFont(bool underline) const {
  const std::wstring face = Widen(layout::kFontName, CP_UTF8);
  return UniqueFont(CreateFontW(
      FontHeightOfPoints(layout::kFontPoints, scale_.tpp_y), 0, 0, 0, layout::kFontWeight, FALSE,
      underline, FALSE, static_cast<DWORD>(layout::kFontCharset), OUT_DEFAULT_PRECIS,
      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str()));
}

void SettingsWindow::LayOutAt(double twips_per_pixel_x, double twips_per_pixel_y,
                              const PixelRect& outer) {
  scale_ = {twips_per_pixel_x, twips_per_pixel_y};
  UniqueFont font = MakeFont(false);
  UniqueFont link_font = MakeFont(true);
  const HWND dialog = dialog_.handle();
  // The window first: the surfaces take its new client area.
  SetWindowPos(dialog, nullptr, outer.left, outer.top, outer.right - outer.left,
               outer.bottom - outer.top, SWP_NOZORDER | SWP_NOACTIVATE);
  const RECT panel = ToRect(scale_.Box(layout::kPanel));
  MoveWindow(panel_.handle(), panel.left, panel.top, panel.right - panel.left,
             panel.bottom - panel.top, FALSE);
  // The box lets go of the old font before it goes.
  for (const Placed<Win32ComboBox>& box : combo_boxes_) {
    box.control->Relayout(ToRect(scale_.Box(box.place)), font.get());
  }
  font_ = std::move(font);
  link_font_ = std::move(link_font);
  dialog_.Rescale(scale_);
  panel_.Rescale(scale_);
  for (const Placed<DialogButton>& button : buttons_) {
    button.control->Rebuild(ToRect(scale_.Box(button.place)), scale_.tpp_y);
  }
  RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

bool SettingsWindow::Create() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const HICON icon = static_cast<HICON>(LoadImageW(instance, kIconName, IMAGE_ICON, 32, 32, 0));
  const HICON small_icon =
      static_cast<HICON>(LoadImageW(instance, kIconName, IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                    GetSystemMetrics(SM_CYSMICON), 0));

  font_ = MakeFont(false);
  link_font_ = MakeFont(true);
  pointers_.hand =
      static_cast<HCURSOR>(LoadImageW(instance, kHandPointerName, IMAGE_CURSOR, 0, 0, 0));

  RECT outer{0, 0, scale_.X(layout::kClientWidth), scale_.Y(layout::kClientHeight)};
  AdjustWindowRectEx(&outer, kDialogStyle, FALSE, kDialogExStyle);
  const std::wstring title = Widen(layout::kTitle, CP_UTF8);
  if (!dialog_.Create({kDialogClass, nullptr, nullptr, icon, small_icon}, title.c_str(),
                      kDialogStyle, kDialogExStyle,
                      {0, 0, outer.right - outer.left, outer.bottom - outer.top}, nullptr,
                      layout::kWindowBackColour)) {
    return false;
  }
  if (!panel_.Create({kPanelClass}, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                     WS_EX_CONTROLPARENT, ToRect(scale_.Box(layout::kPanel)), dialog_.handle(),
                     layout::kPanelBackColour)) {
    return false;
  }

  const std::optional<SettingsDialogControls> controls = RealiseSettingsForm(*this, *this, core_);
  if (!controls) return false;
  core_ = std::make_unique<SettingsDialog>(*controls, shared_.services, shared_.settings,
                                           shared_.zoom_point);
  dialog_.SetCloseHandler([this] { core_->Form_Unload(); });
  dialog_.SetDpiChangeHandler([this](int dpi_x, int dpi_y, const RECT& suggested) {
    core_->Form_DpiChanged({dpi_x, dpi_y, ToPixelRect(suggested)});
  });
  dialog_.AcceptInput();
  panel_.AcceptInput();
  return true;
}

void SettingsWindow::Run() {
  const HWND dialog = dialog_.handle();
  core_->Form_Load();
  ShowWindow(dialog, SW_SHOW);
  core_->Form_Resize();
  dialog_.Invalidate();
  panel_.Invalidate();
  UpdateWindow(dialog);
  SetForegroundWindow(dialog);
  if (HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE)) SetFocus(first);

  MSG message;
  while (dialog_.handle() && IsWindow(dialog_.handle())) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (IsDialogMessageW(dialog_.handle(), &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace

void ShowSettingsDialogModal(const SettingsDialogShared& shared) {
  SettingsWindow window(shared);
  if (!window.Create()) return;
  window.Run();
}

}  // namespace tolvenar::win32
