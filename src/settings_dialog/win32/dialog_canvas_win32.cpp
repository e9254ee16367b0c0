#include "settings_dialog/win32/dialog_canvas_win32.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "runtime/win32/pixel_geometry_win32.h"
#include "runtime/win32/text_encoding.h"

namespace tolvenar::win32 {
namespace {

COLORREF ToColorRef(Colour c) { return RGB(c.red, c.green, c.blue); }
std::uint32_t ToDibPixel(Colour c) { return DibPixel(c.red, c.green, c.blue); }

// A frame `thickness` pixels wide just inside the box.
void FrameBox(HDC dc, RECT box, HBRUSH brush, int thickness) {
  for (int ring = 0; ring < thickness; ++ring) {
    FrameRect(dc, &box, brush);
    InflateRect(&box, -1, -1);
  }
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

}  // namespace

Win32Surface::Win32Surface(int width, int height, Scale scale, Colour back)
    : width_(width), height_(height), scale_(scale), back_(back), dib_(width, height) {
  dib_.Fill(ToDibPixel(back));
}

void Win32Surface::Resize(int width, int height, Scale scale) {
  width_ = width;
  height_ = height;
  scale_ = scale;
  dib_ = Dib(width, height);
  dib_.Fill(ToDibPixel(back_));
}

// Twip rows that fall into the same pixel row overwrite each other: the last one stays.
void Win32Surface::HorizontalLine(double x1, double y, double x2, Colour colour) {
  if (!dib_) return;
  const int row = static_cast<int>(std::floor(y / scale_.tpp_y));
  if (row < 0 || row >= height_) return;
  const int from = std::max(0, static_cast<int>(std::floor(x1 / scale_.tpp_x)));
  const int to = std::min(width_ - 1, static_cast<int>(std::floor(x2 / scale_.tpp_x)));
  std::uint32_t* line = dib_.pixels() + static_cast<std::size_t>(row) * width_;
  for (int x = from; x <= to; ++x) line[x] = ToDibPixel(colour);
}

void Win32Surface::Draw(HDC target) const {
  if (!dib_) return;
  GdiFlush();
  UniqueMemoryDc source(CreateCompatibleDC(target));
  const SelectedObject selected(source.get(), dib_.bitmap());
  BitBlt(target, 0, 0, width_, height_, source.get(), 0, 0, SRCCOPY);
}

void TextElement::SetCaption(const std::string& caption) {
  caption_ = caption;
  text_ = Widen(caption, look_.code_page);
  if (canvas_.handle()) {
    const ScopedDc dc(canvas_.handle());
    const SelectedObject font(dc.get(), look_.font->get());
    RECT measured{0, 0, 0, 0};
    DrawTextW(dc.get(), text_.c_str(), static_cast<int>(text_.size()), &measured,
              look_.format | DT_CALCRECT);
    canvas_.Elements().TextMeasured(id_, measured.right, measured.bottom);
  }
  canvas_.Invalidate();
}

void TextElement::Paint(HDC dc) const {
  RECT box = canvas_.Box(id_);
  if (look_.framed) {
    const UniqueBrush edge(CreateSolidBrush(RGB(64, 64, 64)));
    FrameBox(dc, box, edge.get(), canvas_.PixelScale().Pixels(1));
    const int inset = canvas_.PixelScale().Pixels(2);
    InflateRect(&box, -inset, -inset);
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ToColorRef(look_.colour));
  const SelectedObject font(dc, look_.font->get());
  DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &box, look_.format);
}

void ImageElement::SetPicture(std::string_view picture_name) {
  picture_ = canvas_.Pictures().Find(picture_name);
  canvas_.Invalidate();
}

void ImageElement::Paint(HDC dc) const {
  if (!picture_) return;
  UniqueMemoryDc source(CreateCompatibleDC(dc));
  const SelectedObject selected(source.get(), picture_->bitmap());
  const RECT box = canvas_.Box(id_);
  const Scale& scale = canvas_.PixelScale();
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, box.left, box.top, scale.Pixels(picture_->width()),
             scale.Pixels(picture_->height()), source.get(), 0, 0, picture_->width(),
             picture_->height(), SRCCOPY);
}

HCURSOR CanvasPointers::For(PointerShape shape) const {
  switch (shape) {
    case PointerShape::kHourglass:
      return LoadCursorA(nullptr, IDC_WAIT);
    case PointerShape::kHand:
      if (hand) return hand;
      break;
    case PointerShape::kArrow:
      break;
  }
  return LoadCursorA(nullptr, IDC_ARROW);
}

bool Canvas::Create(const WindowClass& window_class, const wchar_t* title, DWORD style,
                    DWORD ex_style, const RECT& box, HWND parent, Colour back) {
  if (!RegisterWindowClass(window_class)) return false;
  if (!CreateHandle(window_class.name, title, style, ex_style, box, parent)) return false;
  RECT client{};
  GetClientRect(handle(), &client);
  surface_ = std::make_unique<Win32Surface>(client.right, client.bottom, scale_, back);
  return true;
}

void Canvas::Rescale(Scale scale) {
  scale_ = scale;
  RECT client{};
  GetClientRect(handle(), &client);
  if (surface_) surface_->Resize(client.right, client.bottom, scale_);
  for (WindowlessElements::Id id = 0; id < places_.size(); ++id) {
    elements_.SetBox(id, scale_.Box(places_[id]));
  }
  for (const auto& text : texts_) text->SetCaption(text->Caption());
  Invalidate();
}

void Canvas::Invalidate() const {
  if (handle()) InvalidateRect(handle(), nullptr, FALSE);
}

RECT Canvas::Box(WindowlessElements::Id id) const { return ToRect(elements_.Box(id)); }

TextElement& Canvas::AddText(const dialog_layout::Place& place, std::string_view caption,
                             TextElement::Look look, WindowlessElements::Element pointer) {
  pointer.box = scale_.Box(place);
  const WindowlessElements::Id id = elements_.Add(std::move(pointer));
  places_.push_back(place);
  texts_.push_back(std::make_unique<TextElement>(*this, id, look));
  TextElement& text = *texts_.back();
  text.SetCaption(std::string(caption));
  return text;
}

ImageControl& Canvas::AddImage(const dialog_layout::Place& place, std::function<void()> on_press) {
  const WindowlessElements::Id id =
      elements_.Add({scale_.Box(place), std::move(on_press), nullptr, false});
  places_.push_back(place);
  images_.push_back(std::make_unique<ImageElement>(*this, id));
  return *images_.back();
}

void Canvas::OnPaint(HDC dc) {
  RECT client{};
  GetClientRect(handle(), &client);
  UniqueMemoryDc buffer(CreateCompatibleDC(dc));
  UniqueBitmap image(CreateCompatibleBitmap(dc, client.right, client.bottom));
  const SelectedObject selected(buffer.get(), image.get());
  if (surface_) surface_->Draw(buffer.get());
  HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  for (const dialog_layout::Place& outline : outlines_) {
    FrameBox(buffer.get(), ToRect(scale_.Box(outline)), black, scale_.Pixels(1));
  }
  for (const auto& image_element : images_) image_element->Paint(buffer.get());
  for (const auto& text : texts_) text->Paint(buffer.get());
  BitBlt(dc, 0, 0, client.right, client.bottom, buffer.get(), 0, 0, SRCCOPY);
}

void Canvas::OnClose() {
  if (on_close_) on_close_();
  Destroy();
}

LRESULT Canvas::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  const HWND window = handle();
  const PixelPoint at{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_ACTIVATE:
      if (focus_.OnActivate(window, wparam)) return 0;
      break;
    case WM_SETFOCUS:
      if (focus_.OnSetFocus(window)) return 0;
      break;
    case WM_DPICHANGED:
      if (!on_dpi_change_ || !lparam) break;
      on_dpi_change_(LOWORD(wparam), HIWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (!accepts_input_) return 0;
      // The surface keeps the mouse until the release, as every control does: a release over
      // another control after a press here is not that control's click.
      SetCapture(window);
      elements_.Press(at, MouseButtonOf(message));
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      const std::function<void()> click = elements_.Release(at, MouseButtonOf(message));
      if ((wparam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0 && GetCapture() == window) {
        ReleaseCapture();
      }
      if (click) click();
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lparam) != window) elements_.Cancel();
      return 0;
    case WM_SETCURSOR: {
      std::optional<PixelPoint> on_surface;
      if (reinterpret_cast<HWND>(wparam) == window && LOWORD(lparam) == HTCLIENT) {
        POINT pointer{};
        GetCursorPos(&pointer);
        ScreenToClient(window, &pointer);
        on_surface = PixelPoint{pointer.x, pointer.y};
      }
      const std::optional<PointerShape> shape =
          elements_.ShapeAt(on_surface, pointers_.app_pointer.CurrentShape());
      if (!shape) break;
      SetCursor(pointers_.For(*shape));
      return TRUE;
    }
    default:
      break;
  }
  return DefaultMessage(message, wparam, lparam);
}

}  // namespace tolvenar::win32
