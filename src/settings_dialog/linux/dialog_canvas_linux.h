#pragma once
// The dialog's drawing surfaces on GTK: an event box without a window of its own holding a fixed
// layout; it paints a background image, outlines and windowless labels and pictures under its
// children, and hands the pointer's presses, releases and shape questions to the core's
// WindowlessElements.
#include <gtk/gtk.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/label.h"
#include "runtime/linux/cairo_surfaces_linux.h"
#include "runtime/linux/pango_text_linux.h"
#include "runtime/user_services.h"
#include "settings_dialog/dialog_pictures.h"
#include "settings_dialog/layout.h"
#include "settings_dialog/scale.h"
#include "settings_dialog/windowless_elements.h"

namespace tolvenar::linux_port {

// The embedded pictures the dialog shows, decoded once.
using CairoPictures = DialogPictures<UniqueCairoSurface>;

class Canvas;

// A windowless label drawn over the canvas's background.
class TextElement final : public Label {
 public:
  struct Look {
    Colour colour;
    TextStyle style;
    bool framed = false;
    bool core_path = false;  // the caption is a path of the core's, shown as the system names it
  };
  TextElement(Canvas& canvas, WindowlessElements::Id id, Look look)
      : canvas_(canvas), id_(id), look_(std::move(look)) {}
  void SetCaption(const std::string& caption) override;
  std::string Caption() override { return caption_; }
  void Paint(cairo_t* cairo) const;

 private:
  Canvas& canvas_;
  WindowlessElements::Id id_;
  Look look_;
  std::string caption_;
  std::string text_;  // UTF-8
};

// A windowless picture at its own size.
class ImageElement final : public ImageControl {
 public:
  ImageElement(Canvas& canvas, WindowlessElements::Id id) : canvas_(canvas), id_(id) {}
  void SetPicture(std::string_view picture_name) override;
  void Paint(cairo_t* cairo) const;
  std::string_view PictureName() const { return name_; }

 private:
  Canvas& canvas_;
  WindowlessElements::Id id_;
  cairo_surface_t* picture_ = nullptr;
  std::string name_;
};

class Canvas {
 public:
  Canvas(Scale scale, CairoPictures& pictures, const AppPointer& app_pointer)
      : scale_(scale), pictures_(pictures), app_pointer_(app_pointer) {}
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  ~Canvas();

  // Makes the widgets with a background of `back` at this size in pixels.
  void Create(int width, int height, Colour back);
  GtkWidget* widget() const { return box_; }
  // Places a child widget at `box` (pixels on this canvas).
  void Put(GtkWidget* child, const PixelRect& box);
  void Invalidate() const;
  // Presses go to the elements from now on (their handlers are ready).
  void AcceptInput() { accepts_input_ = true; }

  TextElement& AddText(const dialog_layout::Place& place, std::string_view caption,
                       TextElement::Look look, WindowlessElements::Element pointer = {});
  ImageElement& AddImage(const dialog_layout::Place& place, std::function<void()> on_press);
  void AddOutline(const dialog_layout::Place& place) { outlines_.push_back(scale_.Box(place)); }

  RuledSurface& Surface() { return *surface_; }
  const Scale& PixelScale() const { return scale_; }
  WindowlessElements& Elements() { return elements_; }
  CairoPictures& Pictures() { return pictures_; }
  PixelRect Box(WindowlessElements::Id id) const { return elements_.Box(id); }
  // Paints the background, the outlines, the pictures and the labels.
  void Paint(cairo_t* cairo) const;

 private:
  static gboolean OnDraw(GtkWidget* widget, cairo_t* cairo, Canvas* self);
  static gboolean OnPress(GtkWidget* widget, GdkEventButton* event, Canvas* self);
  static gboolean OnRelease(GtkWidget* widget, GdkEventButton* event, Canvas* self);
  static gboolean OnMotion(GtkWidget* widget, GdkEventMotion* event, Canvas* self);
  static gboolean OnGrabBroken(GtkWidget* widget, GdkEvent* event, Canvas* self);

  Scale scale_;
  CairoPictures& pictures_;
  const AppPointer& app_pointer_;
  GtkWidget* box_ = nullptr;  // the event box, referenced while this lives
  GtkWidget* fixed_ = nullptr;
  bool accepts_input_ = false;
  WindowlessElements elements_;
  std::unique_ptr<CairoRuledSurface> surface_;
  std::vector<PixelRect> outlines_;
  std::vector<std::unique_ptr<ImageElement>> images_;
  std::vector<std::unique_ptr<TextElement>> texts_;
};

}  // namespace tolvenar::linux_port
