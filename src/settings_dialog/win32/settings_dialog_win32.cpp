#include "settings_dialog/win32/settings_dialog_win32.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "runtime/picture.h"
#include "runtime/win32/user_services_win32.h"
#include "settings_dialog/layout.h"
#include "settings_dialog/settings_dialog.h"
#include "settings_dialog/win32/dialog_buttons_win32.h"
#include "settings_dialog/win32/gdi_objects.h"
#include "settings_dialog/windowless_elements.h"
#include "settings_dialog/win32/zoom_win32.h"

#include "runtime/win32/text_encoding.h"

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
constexpr int kRepeatBoxId = 100;
constexpr int kRepeatListPixels = 200;  // height of the dropped-down list
constexpr double kPointsPerInch = 72;

COLORREF ToColorRef(Colour c) { return RGB(c.red, c.green, c.blue); }

// Twips to pixels at the screen's own twips per pixel.
struct Scale {
  double tpp_x = 15;
  double tpp_y = 15;
  int X(double twips) const { return static_cast<int>(std::lround(twips / tpp_x)); }
  int Y(double twips) const { return static_cast<int>(std::lround(twips / tpp_y)); }
  RECT Box(const layout::Place& p) const {
    return {X(p.left), Y(p.top), X(p.left + p.width), Y(p.top + p.height)};
  }
};

RECT ToRect(const PixelBox& box) { return {box.left, box.top, box.right, box.bottom}; }
PixelBox ToPixelBox(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// A 32-bit top-down DIB section and its pixels.
struct Dib {
  UniqueBitmap bitmap;
  std::uint32_t* pixels = nullptr;
};

Dib MakeDib(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  Dib dib{UniqueBitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0)),
          nullptr};
  if (dib.bitmap) dib.pixels = static_cast<std::uint32_t*>(bits);
  return dib;
}

std::uint32_t DibPixel(Colour c) {
  return (static_cast<std::uint32_t>(c.red) << 16) | (static_cast<std::uint32_t>(c.green) << 8) |
         c.blue;
}

// The persistent background image of a window.
class Win32Surface final : public BackgroundSurface {
 public:
  Win32Surface(int width, int height, Scale scale, Colour back)
      : width_(width), height_(height), scale_(scale), dib_(MakeDib(width, height)) {
    if (!dib_.pixels) return;
    std::fill(dib_.pixels, dib_.pixels + static_cast<std::size_t>(width) * height, DibPixel(back));
  }
  double InnerWidthTwips() override { return width_ * scale_.tpp_x; }
  double InnerHeightTwips() override { return height_ * scale_.tpp_y; }
  // Twip rows that fall into the same pixel row overwrite each other: the last one stays.
  void HorizontalLine(double x1, double y, double x2, Colour colour) override {
    if (!dib_.pixels) return;
    const int row = static_cast<int>(std::floor(y / scale_.tpp_y));
    if (row < 0 || row >= height_) return;
    const int from = std::max(0, static_cast<int>(std::floor(x1 / scale_.tpp_x)));
    const int to = std::min(width_ - 1, static_cast<int>(std::floor(x2 / scale_.tpp_x)));
    std::uint32_t* line = dib_.pixels + static_cast<std::size_t>(row) * width_;
    for (int x = from; x <= to; ++x) line[x] = DibPixel(colour);
  }
  void Draw(HDC target) const {
    if (!dib_.bitmap) return;
    GdiFlush();
    UniqueMemoryDc source(CreateCompatibleDC(target));
    SelectedObject selected(source.get(), dib_.bitmap.get());
    BitBlt(target, 0, 0, width_, height_, source.get(), 0, 0, SRCCOPY);
  }

 private:
  int width_;
  int height_;
  Scale scale_;
  Dib dib_;
};

class Canvas;

// A windowless label drawn over the canvas's background.
class TextElement final : public Label {
 public:
  struct Look {
    Colour colour;
    HFONT font;
    UINT format;     // DrawTextW flags
    UINT code_page;  // of the caption's bytes
    bool auto_size;  // the box follows the text
    bool framed;
  };
  TextElement(Canvas& canvas, WindowlessElements::Id id, Look look)
      : canvas_(canvas), id_(id), look_(look) {}
  void SetCaption(const std::string& caption) override;
  std::string Caption() override { return caption_; }
  void Paint(HDC dc) const;

 private:
  Canvas& canvas_;
  WindowlessElements::Id id_;
  Look look_;
  std::string caption_;
  std::wstring text_;
};

// A windowless picture at its own size.
class ImageElement final : public ImageControl {
 public:
  ImageElement(Canvas& canvas, WindowlessElements::Id id) : canvas_(canvas), id_(id) {}
  void SetPicture(std::string_view picture_name) override;
  void Paint(HDC dc) const;

 private:
  Canvas& canvas_;
  WindowlessElements::Id id_;
  const Dib* picture_ = nullptr;
  SIZE picture_size_{};
};

class SettingsWindow;

// A window that paints its background image and its windowless elements.
class Canvas {
 public:
  explicit Canvas(SettingsWindow& owner) : owner(owner) {}
  void Invalidate() const {
    if (hwnd) InvalidateRect(hwnd, nullptr, FALSE);
  }
  void Paint(HDC dc) const {
    RECT client{};
    GetClientRect(hwnd, &client);
    UniqueMemoryDc buffer(CreateCompatibleDC(dc));
    UniqueBitmap image(CreateCompatibleBitmap(dc, client.right, client.bottom));
    SelectedObject selected(buffer.get(), image.get());
    if (surface) surface->Draw(buffer.get());
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    for (const RECT& outline : outlines) FrameRect(buffer.get(), &outline, black);
    for (const auto& image_element : images) image_element->Paint(buffer.get());
    for (const auto& text : texts) text->Paint(buffer.get());
    BitBlt(dc, 0, 0, client.right, client.bottom, buffer.get(), 0, 0, SRCCOPY);
  }
  RECT Box(WindowlessElements::Id id) const { return ToRect(elements.Box(id)); }

  SettingsWindow& owner;
  HWND hwnd = nullptr;
  WindowlessElements elements;
  std::unique_ptr<Win32Surface> surface;
  std::vector<RECT> outlines;
  std::vector<std::unique_ptr<ImageElement>> images;
  std::vector<std::unique_ptr<TextElement>> texts;
};

void TextElement::SetCaption(const std::string& caption) {
  caption_ = caption;
  text_ = Widen(caption, look_.code_page);
  if (look_.auto_size && canvas_.hwnd) {
    HDC dc = GetDC(canvas_.hwnd);
    SelectedObject font(dc, look_.font);
    RECT measured{0, 0, 0, 0};
    DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &measured,
              look_.format | DT_CALCRECT);
    ReleaseDC(canvas_.hwnd, dc);
    PixelBox box = canvas_.elements.Box(id_);
    box.right = box.left + measured.right;
    box.bottom = box.top + measured.bottom;
    canvas_.elements.SetBox(id_, box);
  }
  canvas_.Invalidate();
}

void TextElement::Paint(HDC dc) const {
  RECT box = canvas_.Box(id_);
  if (look_.framed) {
    HBRUSH edge = CreateSolidBrush(RGB(64, 64, 64));
    FrameRect(dc, &box, edge);
    DeleteObject(edge);
    InflateRect(&box, -2, -2);
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ToColorRef(look_.colour));
  SelectedObject font(dc, look_.font);
  DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &box, look_.format);
}

void ImageElement::Paint(HDC dc) const {
  if (!picture_) return;
  UniqueMemoryDc source(CreateCompatibleDC(dc));
  SelectedObject selected(source.get(), picture_->bitmap.get());
  const RECT box = canvas_.Box(id_);
  BitBlt(dc, box.left, box.top, picture_size_.cx, picture_size_.cy, source.get(), 0, 0, SRCCOPY);
}

// The repeat field: a drop-down combo box whose edit field takes any text.
class Win32ComboBox final : public EditableComboBox {
 public:
  explicit Win32ComboBox(HWND hwnd) : hwnd_(hwnd) {}
  void SetEnabled(bool enabled) override { EnableWindow(hwnd_, enabled); }
  std::string Text() override {
    const int length = GetWindowTextLengthW(hwnd_);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(hwnd_, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return Narrow(text, CP_ACP);
  }
  void SetText(const std::string& text) override {
    SetWindowTextW(hwnd_, Widen(text, CP_ACP).c_str());
  }
  void AddItem(const std::string& item) override {
    const std::wstring text = Widen(item, CP_ACP);
    SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }

 private:
  HWND hwnd_;
};

class SettingsWindow final : public ModalWindow {
 public:
  explicit SettingsWindow(const SettingsDialogShared& shared) : shared_(shared) {}
  SettingsWindow(const SettingsWindow&) = delete;
  SettingsWindow& operator=(const SettingsWindow&) = delete;
  // A window left over from a failed set-up goes without its close handlers.
  ~SettingsWindow() override {
    if (dialog_.hwnd) DestroyWindow(dialog_.hwnd);
  }

  bool Create();
  void Run();

  WindowHandle Handle() override { return reinterpret_cast<WindowHandle>(dialog_.hwnd); }
  double WidthTwips() override {
    RECT r{};
    GetWindowRect(dialog_.hwnd, &r);
    return (r.right - r.left) * scale_.tpp_x;
  }
  double HeightTwips() override {
    RECT r{};
    GetWindowRect(dialog_.hwnd, &r);
    return (r.bottom - r.top) * scale_.tpp_y;
  }
  void MoveTo(std::int32_t left_twips, std::int32_t top_twips) override {
    SetWindowPos(dialog_.hwnd, nullptr, scale_.X(left_twips), scale_.Y(top_twips), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  void Close() override { PostMessageW(dialog_.hwnd, WM_CLOSE, 0, 0); }

  const Dib* Picture(std::string_view name, SIZE& size);
  LRESULT HandleMessage(Canvas& canvas, UINT message, WPARAM w, LPARAM l);
  HCURSOR Pointer(PointerShape shape) const;

 private:
  TextElement& AddText(Canvas& canvas, const layout::Place& place, std::string_view caption,
                       TextElement::Look look, WindowlessElements::Element pointer = {});
  bool CreateCanvas(Canvas& canvas, const wchar_t* window_class, const wchar_t* title, DWORD style,
                    DWORD ex_style, RECT box, HWND parent, Colour back);

  SettingsDialogShared shared_;
  Win32PointerPosition pointer_;
  Win32AppPointer app_pointer_;
  Win32ScreenMetrics screen_;
  Win32FileChooser file_chooser_;
  Win32Shell shell_;
  Win32WindowAnimation animation_;
  Scale scale_;
  UniqueFont font_;
  UniqueFont link_font_;
  HCURSOR hand_pointer_ = nullptr;
  Canvas dialog_{*this};
  Canvas panel_{*this};
  std::unique_ptr<Win32ComboBox> repeat_box_;
  std::unique_ptr<CommandControl> set_button_, cancel_button_, file_button_;
  std::map<std::string, Dib, std::less<>> pictures_;
  std::map<std::string, SIZE, std::less<>> picture_sizes_;
  std::unique_ptr<SettingsDialog> core_;
};

void ImageElement::SetPicture(std::string_view picture_name) {
  picture_ = canvas_.owner.Picture(picture_name, picture_size_);
  canvas_.Invalidate();
}

LRESULT CALLBACK CanvasProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_NCCREATE) {
    auto* canvas = static_cast<Canvas*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
    canvas->hwnd = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(canvas));
  }
  auto* canvas = reinterpret_cast<Canvas*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!canvas) return DefWindowProcW(hwnd, message, w, l);
  return canvas->owner.HandleMessage(*canvas, message, w, l);
}

bool RegisterClasses(HINSTANCE instance) {
  WNDCLASSEXW dialog{};
  dialog.cbSize = sizeof(dialog);
  dialog.lpfnWndProc = CanvasProc;
  dialog.hInstance = instance;
  dialog.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  dialog.hIcon = static_cast<HICON>(LoadImageW(instance, kIconName, IMAGE_ICON, 32, 32, 0));
  dialog.hIconSm =
      static_cast<HICON>(LoadImageW(instance, kIconName, IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                    GetSystemMetrics(SM_CYSMICON), 0));
  dialog.lpszClassName = kDialogClass;
  WNDCLASSEXW panel = dialog;
  panel.hIcon = nullptr;
  panel.hIconSm = nullptr;
  panel.lpszClassName = kPanelClass;
  const auto registered = [](const WNDCLASSEXW& c) {
    return RegisterClassExW(&c) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  };
  return registered(dialog) && registered(panel);
}

bool SettingsWindow::CreateCanvas(Canvas& canvas, const wchar_t* window_class, const wchar_t* title,
                                  DWORD style, DWORD ex_style, RECT box, HWND parent, Colour back) {
  CreateWindowExW(ex_style, window_class, title, style, box.left, box.top, box.right - box.left,
                  box.bottom - box.top, parent, nullptr, GetModuleHandleW(nullptr), &canvas);
  if (!canvas.hwnd) return false;
  RECT client{};
  GetClientRect(canvas.hwnd, &client);
  canvas.surface = std::make_unique<Win32Surface>(client.right, client.bottom, scale_, back);
  return true;
}

TextElement& SettingsWindow::AddText(Canvas& canvas, const layout::Place& place,
                                     std::string_view caption, TextElement::Look look,
                                     WindowlessElements::Element pointer) {
  pointer.box = ToPixelBox(scale_.Box(place));
  const WindowlessElements::Id id = canvas.elements.Add(std::move(pointer));
  canvas.texts.push_back(std::make_unique<TextElement>(canvas, id, look));
  TextElement& text = *canvas.texts.back();
  text.SetCaption(std::string(caption));
  return text;
}

const Dib* SettingsWindow::Picture(std::string_view name, SIZE& size) {
  auto found = pictures_.find(name);
  if (found == pictures_.end()) {
    const std::optional<tolvenar::Picture> decoded = DecodePicture(shared_.embedded.Bytes(name));
    if (!decoded) return nullptr;
    Dib dib = MakeDib(decoded->width, decoded->height);
    if (!dib.pixels) return nullptr;
    for (int i = 0; i < decoded->width * decoded->height; ++i) {
      const std::uint8_t* rgb = &decoded->rgb[static_cast<std::size_t>(i) * 3];
      dib.pixels[i] = DibPixel({rgb[0], rgb[1], rgb[2]});
    }
    found = pictures_.emplace(std::string(name), std::move(dib)).first;
    picture_sizes_[std::string(name)] = SIZE{decoded->width, decoded->height};
  }
  size = picture_sizes_.find(name)->second;
  return &found->second;
}

bool SettingsWindow::Create() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!RegisterClasses(instance)) return false;
  scale_ = {screen_.TwipsPerPixelX(), screen_.TwipsPerPixelY()};

  HDC screen = GetDC(nullptr);
  const int dots_per_inch = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  const int font_height =
      -static_cast<int>(std::lround(layout::kFontPoints * dots_per_inch / kPointsPerInch));
  const std::wstring face = Widen(layout::kFontName, CP_UTF8);
  const auto make_font = [&](bool underline) {
    return UniqueFont(CreateFontW(font_height, 0, 0, 0, layout::kFontWeight, FALSE, underline,
                                  FALSE, static_cast<DWORD>(layout::kFontCharset),
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, face.c_str()));
  };
  font_ = make_font(false);
  link_font_ = make_font(true);
  hand_pointer_ =
      static_cast<HCURSOR>(LoadImageW(instance, kHandPointerName, IMAGE_CURSOR, 0, 0, 0));

  RECT outer{0, 0, scale_.X(layout::kClientWidth), scale_.Y(layout::kClientHeight)};
  AdjustWindowRectEx(&outer, kDialogStyle, FALSE, kDialogExStyle);
  const std::wstring title = Widen(layout::kTitle, CP_UTF8);
  if (!CreateCanvas(dialog_, kDialogClass, title.c_str(), kDialogStyle, kDialogExStyle,
                    {0, 0, outer.right - outer.left, outer.bottom - outer.top}, nullptr,
                    layout::kWindowBackColour)) {
    return false;
  }
  if (!CreateCanvas(panel_, kPanelClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                    WS_EX_CONTROLPARENT, scale_.Box(layout::kPanel), dialog_.hwnd,
                    layout::kPanelBackColour)) {
    return false;
  }

  const UINT line = DT_SINGLELINE | DT_NOPREFIX;
  const TextElement::Look black{layout::kBlack, font_.get(), line, CP_UTF8, true, false};
  const TextElement::Look white{layout::kWhite, font_.get(), line, CP_UTF8, true, false};

  // The panel, top to bottom.
  panel_.outlines.push_back(scale_.Box(layout::kHeadingFrame));
  AddText(panel_, layout::kHeading, layout::kHeadingCaption,
          {layout::kBlack, font_.get(), line | DT_CENTER, CP_UTF8, false, false});
  std::array<ImageControl*, 3> marks{};
  for (std::int16_t kind = 0; kind < 3; ++kind) {
    const WindowlessElements::Id mark =
        panel_.elements.Add({ToPixelBox(scale_.Box(layout::kMarks[kind])),
                             [this, kind] { core_->Img_BGM_MouseDown(kind); }, nullptr, false});
    panel_.images.push_back(std::make_unique<ImageElement>(panel_, mark));
    marks[static_cast<std::size_t>(kind)] = panel_.images.back().get();
    AddText(panel_, layout::kChoiceLabels[kind], layout::kChoiceCaptions[kind], black,
            {{}, [this, kind] { core_->lbl_BGM_MouseDown(kind); }, nullptr, false});
  }
  const RECT repeat = scale_.Box(layout::kRepeatBox);
  HWND combo = CreateWindowExW(
      0, L"COMBOBOX", L"",
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, repeat.left,
      repeat.top, repeat.right - repeat.left, kRepeatListPixels, panel_.hwnd,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kRepeatBoxId)), instance, nullptr);
  if (!combo) return false;
  SendMessageW(combo, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  // The edit field takes the listed height; the list items keep the font's.
  SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1),
               std::max<LPARAM>(1, (repeat.bottom - repeat.top) - 6));
  repeat_box_ = std::make_unique<Win32ComboBox>(combo);
  AddText(panel_, layout::kRepeatLabel, layout::kRepeatCaption, black);
  Label& file_name = AddText(panel_, layout::kFileName, "",
                             {layout::kBlack, font_.get(),
                              DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX, CP_ACP, false, true});

  file_button_ = MakeDialogButton(panel_.hwnd, scale_.Box(layout::kFileButton),
                                  layout::kFileCaption, [this] { core_->Cmd_File_Click(); });
  set_button_ = MakeDialogButton(dialog_.hwnd, scale_.Box(layout::kSetButton), layout::kSetCaption,
                                 [this] { core_->Cmd_Set_Click(); });
  cancel_button_ = MakeDialogButton(dialog_.hwnd, scale_.Box(layout::kCancelButton),
                                    layout::kCancelCaption, [this] { core_->Cmd_Can_Click(); });
  if (!file_button_ || !set_button_ || !cancel_button_) return false;

  // The strip below the panel.
  AddText(dialog_, layout::kCredit, layout::kCreditCaption, white);
  Label& link = AddText(dialog_, layout::kLink, layout::kLinkCaption,
                        {layout::kWhite, link_font_.get(), line, CP_UTF8, true, false},
                        {{}, nullptr, [this] { core_->lbl_URL_Click(); }, true});

  core_ = std::make_unique<SettingsDialog>(
      SettingsDialogControls{*this, *dialog_.surface, *panel_.surface, *set_button_,
                             *cancel_button_, *file_button_, *repeat_box_, marks, file_name, link},
      SettingsDialogServices{shared_.store, screen_, pointer_, app_pointer_, file_chooser_, shell_,
                             animation_},
      shared_.settings, shared_.zoom_point);
  return true;
}

std::int16_t MouseButtonOf(UINT message) {
  switch (message) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      return kRightButton;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      return kMiddleButton;
    default:
      return kLeftButton;
  }
}

HCURSOR SettingsWindow::Pointer(PointerShape shape) const {
  switch (shape) {
    case PointerShape::kHourglass:
      return LoadCursorA(nullptr, IDC_WAIT);
    case PointerShape::kHand:
      if (hand_pointer_) return hand_pointer_;
      break;
    case PointerShape::kArrow:
      break;
  }
  return LoadCursorA(nullptr, IDC_ARROW);
}

LRESULT SettingsWindow::HandleMessage(Canvas& canvas, UINT message, WPARAM w, LPARAM l) {
  const POINT at{static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))};
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(canvas.hwnd, &paint);
      canvas.Paint(dc);
      EndPaint(canvas.hwnd, &paint);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (!core_) return 0;
      // The surface keeps the mouse until the release, as every control does: a release over
      // another control after a press here is not that control's click.
      SetCapture(canvas.hwnd);
      canvas.elements.Press(PixelPoint{at.x, at.y}, MouseButtonOf(message));
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      const std::function<void()> click =
          canvas.elements.Release(PixelPoint{at.x, at.y}, MouseButtonOf(message));
      if ((w & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0 && GetCapture() == canvas.hwnd) {
        ReleaseCapture();
      }
      if (click) click();
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(l) != canvas.hwnd) canvas.elements.Cancel();
      return 0;
    case WM_SETCURSOR: {
      std::optional<PixelPoint> on_surface;
      if (reinterpret_cast<HWND>(w) == canvas.hwnd && LOWORD(l) == HTCLIENT) {
        POINT pointer{};
        GetCursorPos(&pointer);
        ScreenToClient(canvas.hwnd, &pointer);
        on_surface = PixelPoint{pointer.x, pointer.y};
      }
      const std::optional<PointerShape> shape =
          canvas.elements.ShapeAt(on_surface, app_pointer_.CurrentShape());
      if (!shape) break;
      SetCursor(Pointer(*shape));
      return TRUE;
    }
    case WM_CLOSE:
      if (&canvas != &dialog_) break;
      if (core_) core_->Form_Unload();
      DestroyWindow(canvas.hwnd);
      return 0;
    case WM_NCDESTROY:
      canvas.hwnd = nullptr;
      break;
    default:
      break;
  }
  return DefWindowProcW(canvas.hwnd, message, w, l);
}

void SettingsWindow::Run() {
  core_->Form_Load();
  ShowWindow(dialog_.hwnd, SW_SHOW);
  core_->Form_Resize();
  dialog_.Invalidate();
  panel_.Invalidate();
  UpdateWindow(dialog_.hwnd);
  SetForegroundWindow(dialog_.hwnd);
  if (HWND first = GetNextDlgTabItem(dialog_.hwnd, nullptr, FALSE)) SetFocus(first);

  MSG message;
  while (dialog_.hwnd && IsWindow(dialog_.hwnd)) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (IsDialogMessageW(dialog_.hwnd, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace

void ShowSettingsDialogModal(SettingsDialogShared shared) {
  SettingsWindow window(shared);
  if (!window.Create()) return;
  window.Run();
}

}  // namespace tolvenar::win32
