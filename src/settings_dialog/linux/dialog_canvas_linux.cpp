#include "settings_dialog/linux/dialog_canvas_linux.h"

#include <optional>
#include <utility>

#include "runtime/linux/system_path.h"
#include "runtime/linux/text_cp932.h"
#include "runtime/linux/user_services_gtk.h"

namespace tolvenar::linux_port {
namespace {

constexpr Colour kFrameColour{64, 64, 64};

// A frame `thickness` pixels wide just inside the box.
void FrameBox(cairo_t* cairo, const PixelRect& box, Colour colour, int thickness) {
  cairo_save(cairo);
  cairo_set_source_rgb(cairo, colour.red / 255.0, colour.green / 255.0, colour.blue / 255.0);
  cairo_set_fill_rule(cairo, CAIRO_FILL_RULE_EVEN_ODD);
  cairo_rectangle(cairo, box.left, box.top, box.right - box.left, box.bottom - box.top);
  cairo_rectangle(cairo, box.left + thickness, box.top + thickness,
                  box.right - box.left - 2 * thickness, box.bottom - box.top - 2 * thickness);
  cairo_fill(cairo);
  cairo_restore(cairo);
}

// A core path shows as the system names it; a Windows path (no file here) shows as it is.
std::string ShownText(const std::string& caption, bool core_path) {
  if (core_path) {
    if (const std::optional<SystemPath> system = SystemPath::FromCore(caption)) {
      return system->str();
    }
    return Cp932ToUtf8(caption).value_or("");
  }
  return caption;
}

}  // namespace

void TextElement::SetCaption(const std::string& caption) {
  caption_ = caption;
  text_ = ShownText(caption, look_.core_path);
  const auto [width, height] = MeasureText(text_, look_.style);
  canvas_.Elements().TextMeasured(id_, width, height);
  canvas_.Invalidate();
}

void TextElement::Paint(cairo_t* cairo) const {
  PixelRect box = canvas_.Box(id_);
  if (look_.framed) {
    FrameBox(cairo, box, kFrameColour, canvas_.PixelScale().Pixels(1));
    const int inset = canvas_.PixelScale().Pixels(2);
    box = {box.left + inset, box.top + inset, box.right - inset, box.bottom - inset};
  }
  DrawText(cairo, text_, look_.style, box, look_.colour);
}

void ImageElement::SetPicture(std::string_view picture_name) {
  const UniqueCairoSurface* found = canvas_.Pictures().Find(picture_name);
  picture_ = found ? found->get() : nullptr;
  name_ = std::string(picture_name);
  canvas_.Invalidate();
}

void ImageElement::Paint(cairo_t* cairo) const {
  if (!picture_) return;
  const PixelRect box = canvas_.Box(id_);
  const Scale& scale = canvas_.PixelScale();
  const int width = cairo_image_surface_get_width(picture_);
  const int height = cairo_image_surface_get_height(picture_);
  // Stretched to the screen's scale pixel by pixel, as the platform's stretch does.
  const UniqueCairoSurface shown = MakeImage(scale.Pixels(width), scale.Pixels(height), {});
  if (!shown) return;
  StretchImage(shown.get(), 0, 0, scale.Pixels(width), scale.Pixels(height), picture_, 0, 0, width,
               height);
  cairo_set_source_surface(cairo, shown.get(), box.left, box.top);
  cairo_paint(cairo);
}

Canvas::~Canvas() {
  if (!box_) return;
  g_signal_handlers_disconnect_by_data(box_, this);
  g_object_unref(box_);
}

void Canvas::Create(int width, int height, Colour back) {
  box_ = gtk_event_box_new();
  g_object_ref_sink(box_);
  gtk_event_box_set_visible_window(GTK_EVENT_BOX(box_), FALSE);
  gtk_widget_set_size_request(box_, width, height);
  gtk_widget_add_events(box_,
                        GDK_POINTER_MOTION_MASK | GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK);
  fixed_ = gtk_fixed_new();
  gtk_container_add(GTK_CONTAINER(box_), fixed_);
  surface_ = std::make_unique<CairoRuledSurface>(width, height, scale_.tpp_x, scale_.tpp_y, back);
  g_signal_connect(box_, "draw", G_CALLBACK(OnDraw), this);
  g_signal_connect(box_, "button-press-event", G_CALLBACK(OnPress), this);
  g_signal_connect(box_, "button-release-event", G_CALLBACK(OnRelease), this);
  g_signal_connect(box_, "motion-notify-event", G_CALLBACK(OnMotion), this);
  g_signal_connect(box_, "grab-broken-event", G_CALLBACK(OnGrabBroken), this);
  gtk_widget_show_all(box_);
}

void Canvas::Put(GtkWidget* child, const PixelRect& box) {
  gtk_widget_set_size_request(child, box.right - box.left, box.bottom - box.top);
  gtk_fixed_put(GTK_FIXED(fixed_), child, box.left, box.top);
  gtk_widget_show(child);
}

void Canvas::Invalidate() const {
  if (box_) gtk_widget_queue_draw(box_);
}

TextElement& Canvas::AddText(const dialog_layout::Place& place, std::string_view caption,
                             TextElement::Look look, WindowlessElements::Element pointer) {
  pointer.box = scale_.Box(place);
  const WindowlessElements::Id id = elements_.Add(std::move(pointer));
  texts_.push_back(std::make_unique<TextElement>(*this, id, std::move(look)));
  TextElement& text = *texts_.back();
  text.SetCaption(std::string(caption));
  return text;
}

ImageElement& Canvas::AddImage(const dialog_layout::Place& place, std::function<void()> on_press) {
  const WindowlessElements::Id id =
      elements_.Add({scale_.Box(place), std::move(on_press), nullptr, false});
  images_.push_back(std::make_unique<ImageElement>(*this, id));
  return *images_.back();
}

void Canvas::Paint(cairo_t* cairo) const {
  if (surface_ && surface_->image()) {
    cairo_set_source_surface(cairo, surface_->image(), 0, 0);
    cairo_paint(cairo);
  }
  for (const PixelRect& outline : outlines_) FrameBox(cairo, outline, {0, 0, 0}, scale_.Pixels(1));
  for (const auto& image : images_) image->Paint(cairo);
  for (const auto& text : texts_) text->Paint(cairo);
}

// Runs before the children are drawn: the background goes under them.
gboolean Canvas::OnDraw(GtkWidget*, cairo_t* cairo, Canvas* self) {
  self->Paint(cairo);
  return FALSE;
}

gboolean Canvas::OnPress(GtkWidget*, GdkEventButton* event, Canvas* self) {
  // The second press of a double click comes as a press of its own as well; the event box keeps
  // the pointer until the release (GTK's implicit grab), as every control does.
  if (event->type != GDK_BUTTON_PRESS || !self->accepts_input_) return TRUE;
  self->elements_.Press({static_cast<std::int32_t>(event->x), static_cast<std::int32_t>(event->y)},
                        MouseButtonOf(event->button));
  return TRUE;
}

gboolean Canvas::OnRelease(GtkWidget*, GdkEventButton* event, Canvas* self) {
  const std::function<void()> click = self->elements_.Release(
      {static_cast<std::int32_t>(event->x), static_cast<std::int32_t>(event->y)},
      MouseButtonOf(event->button));
  if (click) click();
  return TRUE;
}

gboolean Canvas::OnMotion(GtkWidget*, GdkEventMotion* event, Canvas* self) {
  const std::optional<PointerShape> shape = self->elements_.ShapeAt(
      PixelPoint{static_cast<std::int32_t>(event->x), static_cast<std::int32_t>(event->y)},
      self->app_pointer_.CurrentShape());
  if (!shape) return FALSE;
  static constexpr const char* kNames[] = {"default", "pointer", "wait"};
  GdkCursor* cursor = gdk_cursor_new_from_name(gdk_window_get_display(event->window),
                                               kNames[static_cast<int>(*shape)]);
  gdk_window_set_cursor(event->window, cursor);
  if (cursor) g_object_unref(cursor);
  return FALSE;
}

gboolean Canvas::OnGrabBroken(GtkWidget*, GdkEvent*, Canvas* self) {
  self->elements_.Cancel();
  return FALSE;
}

}  // namespace tolvenar::linux_port
