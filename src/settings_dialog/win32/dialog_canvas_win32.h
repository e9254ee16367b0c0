#pragma once
// The dialog's drawing surfaces: a window that paints a background image, outlines and windowless
// labels and pictures over it, and hands the pointer's presses, releases and shape questions to
// the core's WindowlessElements.
#include <windows.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/win32/dib_win32.h"
#include "runtime/win32/handles.h"
#include "runtime/user_services.h"
#include "runtime/win32/window_win32.h"
#include "settings_dialog/dialog_pictures.h"
#include "settings_dialog/layout.h"
#include "settings_dialog/settings_dialog.h"
#include "settings_dialog/scale.h"
#include "settings_dialog/win32/focus_win32.h"
#include "settings_dialog/windowless_elements.h"

namespace tolvenar::win32 {

// The embedded pictures the dialog shows, decoded once.
using DibPictures = DialogPictures<Dib>;

// The persistent background image of a window.
class Win32Surface final : public RuledSurface {
 public:
  Win32Surface(int width, int height, Scale scale, Colour back);
  // A fresh image of this size and scale, in the background colour.
  void Resize(int width, int height, Scale scale);
  double WidthTwips() override { return width_ * scale_.tpp_x; }
  double HeightTwips() override { return height_ * scale_.tpp_y; }
  void HorizontalLine(double x1, double y, double x2, Colour colour) override;
  void Draw(HDC target) const;

 private:
  int width_;
  int height_;
  Scale scale_;
  Colour back_;
  Dib dib_;
};

class Canvas;

// A windowless label drawn over the canvas's background.
class TextElement final : public Label {
 public:
  struct Look {
    Colour colour;
    const UniqueFont* font;  // the owner's, which a change of resolution replaces
    UINT format;             // DrawTextW flags
    UINT code_page;          // of the caption's bytes
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
};

// The pointers the canvases show: the program's own shape first, the hand over a link.
struct CanvasPointers {
  const AppPointer& app_pointer;
  HCURSOR hand = nullptr;  // null: the arrow
  HCURSOR For(PointerShape shape) const;
};

// A window that paints its background image and its windowless elements.
class Canvas final : public Window {
 public:
  Canvas(Scale scale, DibPictures& pictures, const CanvasPointers& pointers)
      : scale_(scale), pictures_(pictures), pointers_(pointers) {}

  // Registers the class (once) and creates the window with a background of `back`.
  bool Create(const WindowClass& window_class, const wchar_t* title, DWORD style, DWORD ex_style,
              const RECT& box, HWND parent, Colour back);
  void Invalidate() const;
  // Presses go to the elements from now on (their handlers are ready).
  void AcceptInput() { accepts_input_ = true; }
  // What a close request runs before the window goes; none: the window just goes.
  void SetCloseHandler(std::function<void()> on_close) { on_close_ = std::move(on_close); }
  // What a change of resolution (WM_DPICHANGED) runs: the new dots per inch across and down and
  // the suggested outer rectangle; none: the platform's default.
  using DpiChangeHandler = std::function<void(int, int, const RECT&)>;
  void SetDpiChangeHandler(DpiChangeHandler on_change) { on_dpi_change_ = std::move(on_change); }
  // Places the surface, the elements and the outlines anew at `scale` (the window has its new
  // size); the texts are measured again in their fonts.
  void Rescale(Scale scale);

  TextElement& AddText(const dialog_layout::Place& place, std::string_view caption,
                       TextElement::Look look, WindowlessElements::Element pointer = {});
  ImageControl& AddImage(const dialog_layout::Place& place, std::function<void()> on_press);
  void AddOutline(const dialog_layout::Place& place) { outlines_.push_back(place); }

  RuledSurface& Surface() { return *surface_; }
  const Scale& PixelScale() const { return scale_; }
  WindowlessElements& Elements() { return elements_; }
  DibPictures& Pictures() { return pictures_; }
  RECT Box(WindowlessElements::Id id) const;

 private:
  void OnPaint(HDC dc) override;
  void OnClose() override;
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

  Scale scale_;
  DibPictures& pictures_;
  const CanvasPointers& pointers_;
  bool accepts_input_ = false;
  std::function<void()> on_close_;
  DpiChangeHandler on_dpi_change_;
  RememberedFocus focus_;  // a top-level canvas's control with the focus, across deactivation
  WindowlessElements elements_;
  std::unique_ptr<Win32Surface> surface_;
  std::vector<dialog_layout::Place> places_;  // of each element, by id
  std::vector<dialog_layout::Place> outlines_;
  std::vector<std::unique_ptr<ImageElement>> images_;
  std::vector<std::unique_ptr<TextElement>> texts_;
};

}  // namespace tolvenar::win32
