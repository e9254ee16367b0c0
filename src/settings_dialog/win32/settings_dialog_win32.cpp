#include "settings_dialog/win32/settings_dialog_win32.h"

#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "runtime/win32/handles.h"
#include "runtime/win32/pixel_geometry_win32.h"
#include "runtime/screen_units.h"
#include "runtime/win32/text_encoding.h"
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

class SettingsWindow final : public ModalWindow {
 public:
  explicit SettingsWindow(const SettingsDialogShared& shared)
      : shared_(shared),
        scale_{shared.services.screen.TwipsPerPixelX(), shared.services.screen.TwipsPerPixelY()},
        pictures_(shared.embedded),
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
  std::unique_ptr<DialogButton> MakeButton(const Canvas& on, const layout::Place& place,
                                           std::string_view caption,
                                           std::function<void()> on_click);
  // The dialog's font at the current scale, underlined for the link.
  UniqueFont MakeFont(bool underline) const;

  SettingsDialogShared shared_;
  Scale scale_;
  DialogPictures pictures_;
  CanvasPointers pointers_;
  UniqueFont font_;
  UniqueFont link_font_;
  std::unique_ptr<SettingsDialog> core_;
  // The windows go before what they use; the dialog window takes its children along.
  Canvas dialog_;
  Canvas panel_;
  std::unique_ptr<Win32ComboBox> repeat_box_;
  std::unique_ptr<DialogButton> set_button_, cancel_button_, file_button_;
};

std::unique_ptr<DialogButton> SettingsWindow::MakeButton(const Canvas& on,
                                                         const layout::Place& place,
                                                         std::string_view caption,
                                                         std::function<void()> on_click) {
  return MakeDialogButton(on.handle(), scale_.Box(place), scale_.tpp_y, caption, shared_.embedded,
                          shared_.services.pointer, std::move(on_click));
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
  const RECT panel = scale_.Box(layout::kPanel);
  MoveWindow(panel_.handle(), panel.left, panel.top, panel.right - panel.left,
             panel.bottom - panel.top, FALSE);
  // The box lets go of the old font before it goes.
  repeat_box_->Relayout(scale_.Box(layout::kRepeatBox), font.get());
  font_ = std::move(font);
  link_font_ = std::move(link_font);
  dialog_.Rescale(scale_);
  panel_.Rescale(scale_);
  file_button_->Rebuild(scale_.Box(layout::kFileButton), scale_.tpp_y);
  set_button_->Rebuild(scale_.Box(layout::kSetButton), scale_.tpp_y);
  cancel_button_->Rebuild(scale_.Box(layout::kCancelButton), scale_.tpp_y);
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
                     WS_EX_CONTROLPARENT, scale_.Box(layout::kPanel), dialog_.handle(),
                     layout::kPanelBackColour)) {
    return false;
  }

  const UINT line = DT_SINGLELINE | DT_NOPREFIX;
  const TextElement::Look black{layout::kBlack, &font_, line, CP_UTF8, false};
  const TextElement::Look white{layout::kWhite, &font_, line, CP_UTF8, false};
  const auto fits_text = [](std::function<void()> on_press = nullptr,
                            std::function<void()> on_click = nullptr, bool hand = false) {
    return WindowlessElements::Element{{}, std::move(on_press), std::move(on_click), hand, true};
  };

  // The panel, top to bottom.
  panel_.AddOutline(layout::kHeadingFrame);
  panel_.AddText(layout::kHeading, layout::kHeadingCaption,
                 {layout::kBlack, &font_, line | DT_CENTER, CP_UTF8, false});
  std::array<ImageControl*, 3> marks{};
  for (std::int16_t kind = 0; kind < 3; ++kind) {
    marks[static_cast<std::size_t>(kind)] =
        &panel_.AddImage(layout::kMarks[kind], [this, kind] { core_->Img_BGM_MouseDown(kind); });
    panel_.AddText(layout::kChoiceLabels[kind], layout::kChoiceCaptions[kind], black,
                   fits_text([this, kind] { core_->lbl_BGM_MouseDown(kind); }));
  }
  repeat_box_ = Win32ComboBox::Create(panel_.handle(), scale_.Box(layout::kRepeatBox), font_.get());
  if (!repeat_box_) return false;
  panel_.AddText(layout::kRepeatLabel, layout::kRepeatCaption, black, fits_text());
  Label& file_name = panel_.AddText(
      layout::kFileName, "",
      {layout::kBlack, &font_, DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX, CP_ACP, true});

  file_button_ = MakeButton(panel_, layout::kFileButton, layout::kFileCaption,
                            [this] { core_->Cmd_File_Click(); });
  set_button_ = MakeButton(dialog_, layout::kSetButton, layout::kSetCaption,
                           [this] { core_->Cmd_Set_Click(); });
  cancel_button_ = MakeButton(dialog_, layout::kCancelButton, layout::kCancelCaption,
                              [this] { core_->Cmd_Can_Click(); });
  if (!file_button_ || !set_button_ || !cancel_button_) return false;

  // The strip below the panel.
  dialog_.AddText(layout::kCredit, layout::kCreditCaption, white, fits_text());
  Label& link = dialog_.AddText(layout::kLink, layout::kLinkCaption,
                                {layout::kWhite, &link_font_, line, CP_UTF8, false},
                                fits_text(
                                    nullptr, [this] { core_->lbl_URL_Click(); }, true));

  core_ = std::make_unique<SettingsDialog>(
      SettingsDialogControls{*this, dialog_.Surface(), panel_.Surface(), *set_button_,
                             *cancel_button_, *file_button_, *repeat_box_, marks, file_name, link},
      shared_.services, shared_.settings, shared_.zoom_point);
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
