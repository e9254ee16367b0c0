#include "button/linux/command_button_gtk.h"

#include <cmath>
#include <utility>

#include "runtime/linux/cairo_surfaces_linux.h"
#include "runtime/linux/pango_text_linux.h"
#include "runtime/linux/user_services_gtk.h"
#include "runtime/mouse_press.h"
#include "runtime/screen_units.h"

namespace tolvenar::linux_port {
namespace {

// A greyed caption: the grey text over a highlight one pixel down and right.
constexpr Colour kGreyText{166, 166, 166};
constexpr Colour kHighlight{255, 255, 255};
// The button is only as large as the container places it: no theme padding or minimum size.
constexpr char kButtonStyle[] =
    "button { min-width: 0; min-height: 0; padding: 0; margin: 0; border-width: 0; }";

// The caption: a windowless label drawn over the control's image on every draw.
class GtkStyledLabel final : public CaptionLabel {
 public:
  void Attach(GtkWidget* widget) { widget_ = widget; }

  void Draw(cairo_t* cairo) const {
    if (caption().empty()) return;
    const TextStyle style{font(), twips_per_pixel(), TextAlign::kCentre, true};
    const PixelRect box = Box();
    if (enabled()) {
      const Colour colour_rgb{static_cast<std::uint8_t>(colour()),
                              static_cast<std::uint8_t>(colour() >> 8),
                              static_cast<std::uint8_t>(colour() >> 16)};
      DrawText(cairo, caption(), style, box, colour_rgb);
      return;
    }
    const PixelRect etched{box.left + 1, box.top + 1, box.right + 1, box.bottom + 1};
    DrawText(cairo, caption(), style, etched, kHighlight);
    DrawText(cairo, caption(), style, box, kGreyText);
  }

 private:
  void Invalidate() override {
    if (widget_) gtk_widget_queue_draw(widget_);
  }

  GtkWidget* widget_ = nullptr;
};

class GtkIntervalTimer final : public IntervalTimer {
 public:
  explicit GtkIntervalTimer(std::function<void()> tick) : tick_(std::move(tick)) {}
  GtkIntervalTimer(const GtkIntervalTimer&) = delete;
  GtkIntervalTimer& operator=(const GtkIntervalTimer&) = delete;
  ~GtkIntervalTimer() override { Stop(); }
  void SetEnabled(bool enabled) override {
    enabled_ = enabled;
    Apply();
  }
  void SetInterval(std::uint32_t milliseconds) override {
    interval_ = milliseconds;
    Apply();
  }

 private:
  static gboolean Tick(gpointer self) {
    static_cast<GtkIntervalTimer*>(self)->tick_();
    return G_SOURCE_CONTINUE;
  }
  void Stop() {
    if (source_ != 0) g_source_remove(source_);
    source_ = 0;
  }
  // A new interval or a restart begins a new period, as resetting the platform's timer does.
  void Apply() {
    Stop();
    if (enabled_ && interval_ > 0) source_ = g_timeout_add(interval_, Tick, this);
  }
  std::function<void()> tick_;
  bool enabled_ = false;
  std::uint32_t interval_ = 0;
  guint source_ = 0;
};

class GtkControlHost final : public ControlHost {
 public:
  void Attach(GtkWidget* widget) { widget_ = widget; }
  // The container stores the properties itself when it is saved; nothing to note at run time.
  void PropertyChanged(const std::string&) override {}
  // The containers here set no font of their own.
  FontDescription AmbientFont() override { return DesignFont(); }
  WindowHandle ContainerWindow() override {
    return HandleOf(widget_ ? gtk_widget_get_parent(widget_) : nullptr);
  }
  WindowHandle ControlWindow() override { return HandleOf(widget_); }

 private:
  GtkWidget* widget_ = nullptr;
};

std::int16_t ShiftState(guint state) {
  std::int16_t shift = 0;
  if (state & GDK_SHIFT_MASK) shift |= 1;
  if (state & GDK_CONTROL_MASK) shift |= 2;
  if (state & GDK_MOD1_MASK) shift |= 4;
  return shift;
}

std::int16_t HeldButtons(guint state) {
  std::int16_t buttons = 0;
  if (state & GDK_BUTTON1_MASK) buttons |= kLeftButton;
  if (state & GDK_BUTTON3_MASK) buttons |= kRightButton;
  if (state & GDK_BUTTON2_MASK) buttons |= kMiddleButton;
  return buttons;
}

}  // namespace

// The button's widget and the parts that serve its events.
class CommandButtonGtk::Parts {
 public:
  Parts(SkinSet skins, PointerLocator& pointer, std::function<void()> on_click)
      : surface([this] {
          if (widget) gtk_widget_queue_draw(widget);
        }),
        timer([this] { command.TmrMouse_Timer(); }),
        command(surface, label, timer, pointer, host, std::move(skins)),
        on_click_(std::move(on_click)) {
    command.SetClickHandler(on_click_);
  }
  Parts(const Parts&) = delete;
  Parts& operator=(const Parts&) = delete;
  ~Parts() {
    if (!widget) return;
    g_signal_handlers_disconnect_by_data(widget, this);
    g_object_unref(widget);
  }

  void Create(const CommandButtonPlacement& placement) {
    widget = gtk_button_new();
    g_object_ref_sink(widget);
    GtkCssProvider* css = gtk_css_provider_new();
    gtk_css_provider_load_from_data(css, kButtonStyle, -1, nullptr);
    gtk_style_context_add_provider(gtk_widget_get_style_context(widget), GTK_STYLE_PROVIDER(css),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(css);
    gtk_widget_set_size_request(widget, placement.width, placement.height);
    gtk_widget_add_events(
        widget, GDK_POINTER_MOTION_MASK | GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK);
    atk_object_set_name(gtk_widget_get_accessible(widget), placement.caption.c_str());
    surface.SetTwipsPerPixel(placement.twips_per_pixel);
    label.SetTwipsPerPixel(placement.twips_per_pixel);
    label.Attach(widget);
    host.Attach(widget);
    g_signal_connect(widget, "draw", G_CALLBACK(OnDraw), this);
    g_signal_connect(widget, "size-allocate", G_CALLBACK(OnSizeAllocate), this);
    g_signal_connect(widget, "button-press-event", G_CALLBACK(OnPress), this);
    g_signal_connect(widget, "button-release-event", G_CALLBACK(OnRelease), this);
    g_signal_connect(widget, "motion-notify-event", G_CALLBACK(OnMotion), this);
    g_signal_connect(widget, "grab-broken-event", G_CALLBACK(OnGrabBroken), this);
    g_signal_connect(widget, "focus-in-event", G_CALLBACK(OnFocusIn), this);
    g_signal_connect(widget, "focus-out-event", G_CALLBACK(OnFocusOut), this);
    g_signal_connect(widget, "clicked", G_CALLBACK(OnClicked), this);
    // Made at its size, as a window is: the first size paints the new (still disabled) instance.
    Resize(placement.width, placement.height);
  }

  GtkWidget* widget = nullptr;
  CairoControlSurface surface;
  GtkStyledLabel label;
  GtkIntervalTimer timer;
  GtkControlHost host;
  PressedButtons pressed;
  Command command;

 private:
  void Resize(int width, int height) {
    if (surface.image() && width == cairo_image_surface_get_width(surface.image()) &&
        height == cairo_image_surface_get_height(surface.image())) {
      return;
    }
    surface.Resize(width, height);
    command.UserControl_Resize();
  }
  double Twips(double pixels) const { return pixels * surface.TwipsPerPixel(); }

  static gboolean OnDraw(GtkWidget*, cairo_t* cairo, Parts* self) {
    if (self->surface.GetBackStyle() == BackStyle::kOpaque && self->surface.image()) {
      cairo_set_source_surface(cairo, self->surface.image(), 0, 0);
      cairo_paint(cairo);
    }
    self->label.Draw(cairo);
    return TRUE;  // the theme draws nothing of its own
  }
  static void OnSizeAllocate(GtkWidget*, GdkRectangle* box, Parts* self) {
    self->Resize(box->width, box->height);
  }
  static gboolean OnPress(GtkWidget* widget, GdkEventButton* event, Parts* self) {
    // The second press of a double click comes as a press of its own as well.
    if (event->type != GDK_BUTTON_PRESS) return TRUE;
    const std::int16_t button = MouseButtonOf(event->button);
    // Like a standard button, a left press takes the focus first. The button keeps the pointer
    // until the release (GTK's implicit grab).
    if (button == kLeftButton && !gtk_widget_has_focus(widget)) gtk_widget_grab_focus(widget);
    self->pressed.Press(button);
    self->command.UserControl_MouseDown(button, ShiftState(event->state), self->Twips(event->x),
                                        self->Twips(event->y));
    return TRUE;
  }
  static gboolean OnRelease(GtkWidget*, GdkEventButton* event, Parts* self) {
    const std::int16_t button = MouseButtonOf(event->button);
    // A release whose press went down elsewhere (dragged in from another control) is not ours.
    if (!self->pressed.Release(button)) return TRUE;
    self->command.UserControl_MouseUp(button, ShiftState(event->state), self->Twips(event->x),
                                      self->Twips(event->y));
    return TRUE;
  }
  static gboolean OnMotion(GtkWidget*, GdkEventMotion* event, Parts* self) {
    self->command.UserControl_MouseMove(HeldButtons(event->state), ShiftState(event->state),
                                        self->Twips(event->x), self->Twips(event->y));
    return TRUE;
  }
  static gboolean OnGrabBroken(GtkWidget*, GdkEvent*, Parts* self) {
    self->pressed.Cancel();
    return FALSE;
  }
  static gboolean OnFocusIn(GtkWidget*, GdkEvent*, Parts* self) {
    self->command.UserControl_GotFocus();
    return FALSE;
  }
  static gboolean OnFocusOut(GtkWidget*, GdkEvent*, Parts* self) {
    self->command.UserControl_LostFocus();
    return FALSE;
  }
  // Enter or Space on the focused button (the mouse's clicks come from the control).
  static void OnClicked(GtkWidget*, Parts* self) {
    auto handler = self->on_click_;  // a copy: the handler may end this button
    if (handler) handler();
  }

  std::function<void()> on_click_;
};

CommandButtonGtk::CommandButtonGtk(std::unique_ptr<Parts> parts) : parts_(std::move(parts)) {}

CommandButtonGtk::~CommandButtonGtk() = default;

std::unique_ptr<CommandButtonGtk> CommandButtonGtk::Create(const CommandButtonPlacement& placement,
                                                           EmbeddedData& embedded,
                                                           PointerLocator& pointer,
                                                           std::function<void()> on_click) {
  auto parts = std::make_unique<Parts>(LoadSkins(embedded), pointer, std::move(on_click));
  parts->Create(placement);
  MemoryPropertyBag stored;
  stored.values["Caption"] = placement.caption;
  stored.values["Font"] = placement.font;
  parts->command.UserControl_ReadProperties(stored);
  gtk_widget_show(parts->widget);
  return std::unique_ptr<CommandButtonGtk>(new CommandButtonGtk(std::move(parts)));
}

GtkWidget* CommandButtonGtk::widget() const { return parts_->widget; }

void CommandButtonGtk::Initialize() { parts_->command.Initialize(); }

void CommandButtonGtk::SetEnabled(bool enabled) {
  parts_->command.SetEnabled(enabled ? kTrue : kFalse);
  gtk_widget_set_sensitive(parts_->widget, enabled);
}

Command& CommandButtonGtk::Control() { return parts_->command; }

cairo_surface_t* CommandButtonGtk::Image() const { return parts_->surface.image(); }

}  // namespace tolvenar::linux_port
