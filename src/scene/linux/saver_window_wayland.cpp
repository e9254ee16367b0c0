#include "scene/linux/saver_window_wayland.h"

#include <poll.h>
#include <unistd.h>
// The protocols' client code, made at build time.
#include <wlr-layer-shell-unstable-v1-client-protocol.h>
#include <xdg-shell-client-protocol.h>

#include <algorithm>
#include <cstdio>
#include <chrono>
#include <cstring>
#include <stdexcept>
#include <string>
#include <utility>

#include "scene/saver_window.h"

namespace tolvenar::linux_port {

namespace {

// The newest version of each global whose events the listeners below all handle.
constexpr std::uint32_t kCompositorVersion = 4;  // 3 brings the buffer scale
constexpr std::uint32_t kOutputVersion = 2;      // 2 brings the scale and the end of a description
constexpr std::uint32_t kSeatVersion = 5;
constexpr std::uint32_t kLayerShellVersion = 1;
constexpr std::uint32_t kWmBaseVersion = 1;
// How many round trips the first surfaces may take to be configured.
constexpr int kConfigureRoundTrips = 4;
// Wayland's value of a key going down.
constexpr std::uint32_t kPressed = 1;

using Host = WaylandSaverWindowHost;

template <typename Object>
Object* Bind(wl_registry* registry, std::uint32_t name, const wl_interface& interface,
             std::uint32_t offered, std::uint32_t wanted) {
  return static_cast<Object*>(
      wl_registry_bind(registry, name, &interface, std::min(offered, wanted)));
}

// Whether a wait on the connection found something to read: data, or its end, which the read
// then reports.
bool Readable(const pollfd& connection) {
  return (connection.revents & (POLLIN | POLLHUP | POLLERR)) != 0;
}

}  // namespace

struct WaylandSaverWindowHost::Globals {
  WaylandObject<wl_registry, wl_registry_destroy> registry;
  WaylandObject<wl_compositor, wl_compositor_destroy> compositor;
  WaylandObject<zwlr_layer_shell_v1, zwlr_layer_shell_v1_destroy> layer_shell;
  WaylandObject<xdg_wm_base, xdg_wm_base_destroy> wm_base;
  WaylandObject<wl_seat, wl_seat_destroy> seat;
  WaylandObject<wl_keyboard, wl_keyboard_destroy> keyboard;
  WaylandObject<wl_pointer, wl_pointer_destroy> pointer;
};

struct WaylandSaverWindowHost::Output {
  Host* host = nullptr;
  std::uint32_t name = 0;  // the registry's
  std::uint32_t id = 0;
  WaylandObject<wl_output, wl_output_destroy> output;
  OutputGeometry geometry;
  std::int32_t mode_width = 0;  // pixels of the current mode
  std::int32_t mode_height = 0;
  std::optional<std::size_t> part;  // the scene's monitor it is, if it was there at the start
  // Its surface, in the order they go: the EGL window, the role, the surface.
  WaylandObject<wl_surface, wl_surface_destroy> surface;
  WaylandObject<zwlr_layer_surface_v1, zwlr_layer_surface_v1_destroy> layer;
  WaylandObject<xdg_surface, xdg_surface_destroy> xdg;
  WaylandObject<xdg_toplevel, xdg_toplevel_destroy> toplevel;
  UniqueEglWindow egl_window;
  std::int32_t pending_width = 0;  // a top-level's size until its surface's configure
  std::int32_t pending_height = 0;
  bool configured = false;

  std::int32_t scale() const { return BufferScale(geometry.scale); }
  void Reset() {
    egl_window.reset();
    toplevel.reset();
    xdg.reset();
    layer.reset();
    surface.reset();
    configured = false;
  }
};

namespace {

// Listeners. Every event of each bound version has a handler: libwayland calls a missing one.
void OnGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
              std::uint32_t version) {
  static_cast<Host*>(data)->GlobalAdded(registry, name, interface, version);
}
void OnGlobalRemove(void* data, wl_registry*, std::uint32_t name) {
  static_cast<Host*>(data)->GlobalRemoved(name);
}
const wl_registry_listener kRegistryListener = {OnGlobal, OnGlobalRemove};

void OnOutputGeometry(void* data, wl_output*, std::int32_t x, std::int32_t y, std::int32_t,
                      std::int32_t, std::int32_t, const char*, const char*, std::int32_t) {
  auto& output = *static_cast<Host::Output*>(data);
  output.geometry.x = x;
  output.geometry.y = y;
}
void OnOutputMode(void* data, wl_output*, std::uint32_t flags, std::int32_t width,
                  std::int32_t height, std::int32_t) {
  if (!(flags & WL_OUTPUT_MODE_CURRENT)) return;
  auto& output = *static_cast<Host::Output*>(data);
  output.mode_width = width;
  output.mode_height = height;
}
void OnOutputDone(void* data, wl_output*) {
  auto& output = *static_cast<Host::Output*>(data);
  output.host->OutputDone(output);
}
void OnOutputScale(void* data, wl_output*, std::int32_t factor) {
  static_cast<Host::Output*>(data)->geometry.scale = factor;
}
// Version 2 is bound: the name and description never come.
const wl_output_listener kOutputListener = {OnOutputGeometry, OnOutputMode, OnOutputDone,
                                            OnOutputScale,    nullptr,      nullptr};

void OnLayerConfigure(void* data, zwlr_layer_surface_v1* layer, std::uint32_t serial,
                      std::uint32_t width, std::uint32_t height) {
  zwlr_layer_surface_v1_ack_configure(layer, serial);
  auto& output = *static_cast<Host::Output*>(data);
  output.host->SurfaceConfigured(output, static_cast<std::int32_t>(width),
                                 static_cast<std::int32_t>(height));
}
void OnLayerClosed(void* data, zwlr_layer_surface_v1*) {
  auto& output = *static_cast<Host::Output*>(data);
  output.host->SurfaceClosed(output);
}
const zwlr_layer_surface_v1_listener kLayerListener = {OnLayerConfigure, OnLayerClosed};

void OnToplevelConfigure(void* data, xdg_toplevel*, std::int32_t width, std::int32_t height,
                         wl_array*) {
  auto& output = *static_cast<Host::Output*>(data);
  output.pending_width = width;
  output.pending_height = height;
}
void OnToplevelClose(void* data, xdg_toplevel*) {
  static_cast<Host::Output*>(data)->host->CloseRequested();
}
// Version 1 is bound: the later events never come.
const xdg_toplevel_listener kToplevelListener = {OnToplevelConfigure, OnToplevelClose, nullptr,
                                                 nullptr};

void OnXdgConfigure(void* data, xdg_surface* surface, std::uint32_t serial) {
  xdg_surface_ack_configure(surface, serial);
  auto& output = *static_cast<Host::Output*>(data);
  output.host->SurfaceConfigured(output, output.pending_width, output.pending_height);
}
const xdg_surface_listener kXdgSurfaceListener = {OnXdgConfigure};

void OnPing(void*, xdg_wm_base* base, std::uint32_t serial) { xdg_wm_base_pong(base, serial); }
const xdg_wm_base_listener kWmBaseListener = {OnPing};

void OnSeatCapabilities(void* data, wl_seat*, std::uint32_t capabilities) {
  static_cast<Host*>(data)->SeatCapabilities(capabilities);
}
void OnSeatName(void*, wl_seat*, const char*) {}
const wl_seat_listener kSeatListener = {OnSeatCapabilities, OnSeatName};

// The keymap is not needed: any key ends the run.
void OnKeymap(void*, wl_keyboard*, std::uint32_t, std::int32_t fd, std::uint32_t) { close(fd); }
void OnKeyboardEnter(void*, wl_keyboard*, std::uint32_t, wl_surface*, wl_array*) {}
void OnKeyboardLeave(void*, wl_keyboard*, std::uint32_t, wl_surface*) {}
void OnKey(void* data, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t,
           std::uint32_t state) {
  if (state == kPressed) static_cast<Host*>(data)->KeyPressed();
}
void OnModifiers(void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t,
                 std::uint32_t) {}
void OnRepeatInfo(void*, wl_keyboard*, std::int32_t, std::int32_t) {}
const wl_keyboard_listener kKeyboardListener = {OnKeymap, OnKeyboardEnter, OnKeyboardLeave,
                                                OnKey,    OnModifiers,     OnRepeatInfo};

void OnPointerEnter(void* data, wl_pointer*, std::uint32_t serial, wl_surface*, wl_fixed_t,
                    wl_fixed_t) {
  static_cast<Host*>(data)->PointerEntered(serial);
}
void OnPointerLeave(void*, wl_pointer*, std::uint32_t, wl_surface*) {}
// Moving the pointer does not end the run.
void OnMotion(void*, wl_pointer*, std::uint32_t, wl_fixed_t, wl_fixed_t) {}
// Wheels turn on the axis events, which press no button.
void OnButton(void* data, wl_pointer*, std::uint32_t, std::uint32_t, std::uint32_t,
              std::uint32_t state) {
  if (state == WL_POINTER_BUTTON_STATE_PRESSED) static_cast<Host*>(data)->ButtonPressed();
}
void OnAxis(void*, wl_pointer*, std::uint32_t, std::uint32_t, wl_fixed_t) {}
void OnFrame(void*, wl_pointer*) {}
void OnAxisSource(void*, wl_pointer*, std::uint32_t) {}
void OnAxisStop(void*, wl_pointer*, std::uint32_t, std::uint32_t) {}
void OnAxisDiscrete(void*, wl_pointer*, std::uint32_t, std::int32_t) {}
// Version 5 is bound: the wheel's high-resolution steps never come.
const wl_pointer_listener kPointerListener = {
    OnPointerEnter, OnPointerLeave, OnMotion,   OnButton,       OnAxis,
    OnFrame,        OnAxisSource,   OnAxisStop, OnAxisDiscrete, nullptr};

}  // namespace

void LoadSaverWindow(const SaverWindowParts& parts, const WaylandSaverWindowSetup& setup) {
  if (!setup.display || !setup.signals) {
    throw std::logic_error("the Wayland saver window was handed no display or no signals");
  }
  WaylandSaverWindowHost host(setup.display, *setup.signals);
  if (!host.ready()) {
    (void)std::fputs(host.shell() == SurfaceShell::kNone
                         ? "tolvenar: the compositor offers neither the layer shell nor "
                           "xdg-shell, so the saver has no surface to draw on\n"
                         : "tolvenar: the compositor gave no output a surface\n",
                     stderr);
    return;
  }
  std::unique_ptr<Scene> scene = setup.make_scene(host);
  if (!scene) return;
  SaverWindow form = MakeSaverWindow(parts, host, *scene, host.clock());
  host.Connect(form);
  if (setup.every_interval) host.StartIntervalTimer(setup.interval_ms, setup.every_interval);
  form.Form_Load();
}

WaylandSaverWindowHost::WaylandSaverWindowHost(wl_display* display, TerminationSignals& signals)
    : display_(display), signals_(signals), globals_(std::make_unique<Globals>()) {
  globals_->registry.reset(wl_display_get_registry(display_));
  if (!globals_->registry) return;
  wl_registry_add_listener(globals_->registry.get(), &kRegistryListener, this);
  // The globals, then what each bound output and the seat say of themselves.
  if (wl_display_roundtrip(display_) < 0 || wl_display_roundtrip(display_) < 0) return;
  shell_ =
      ChooseShell(static_cast<bool>(globals_->layer_shell), static_cast<bool>(globals_->wm_base));
  if (!globals_->compositor || shell_ == SurfaceShell::kNone) return;

  std::vector<OutputGeometry> geometries;
  for (const auto& output : outputs_) geometries.push_back(output->geometry);
  std::vector<Output*> in_order;
  for (const std::size_t i : SceneOrder(geometries)) in_order.push_back(outputs_[i].get());
  for (Output* output : in_order) MakeSurface(*output);
  for (int i = 0; i < kConfigureRoundTrips; ++i) {
    const bool all_configured =
        std::all_of(in_order.begin(), in_order.end(), [](Output* o) { return o->configured; });
    if (all_configured || wl_display_roundtrip(display_) < 0) break;
  }

  // The scene learns the outputs whose surfaces were configured, at the size each got.
  std::vector<OutputGeometry> sized;
  for (Output* output : in_order) {
    if (!output->configured) continue;
    output->part = sized.size();
    sized.push_back(output->geometry);
  }
  parts_ = CanvasParts(sized);
  started_ = true;
}

WaylandSaverWindowHost::~WaylandSaverWindowHost() {
  events_ = nullptr;
  for (const auto& output : outputs_) DropSurface(*output);
  outputs_.clear();
  globals_.reset();
  wl_display_flush(display_);
}

void WaylandSaverWindowHost::GlobalAdded(wl_registry* registry, std::uint32_t name,
                                         const char* interface, std::uint32_t version) {
  const std::string kind = interface;
  if (kind == wl_compositor_interface.name) {
    globals_->compositor.reset(
        Bind<wl_compositor>(registry, name, wl_compositor_interface, version, kCompositorVersion));
  } else if (kind == zwlr_layer_shell_v1_interface.name) {
    globals_->layer_shell.reset(Bind<zwlr_layer_shell_v1>(
        registry, name, zwlr_layer_shell_v1_interface, version, kLayerShellVersion));
  } else if (kind == xdg_wm_base_interface.name) {
    globals_->wm_base.reset(
        Bind<xdg_wm_base>(registry, name, xdg_wm_base_interface, version, kWmBaseVersion));
    xdg_wm_base_add_listener(globals_->wm_base.get(), &kWmBaseListener, this);
  } else if (kind == wl_seat_interface.name && !globals_->seat) {
    // The first seat: a desktop with several seats gives each its own session.
    globals_->seat.reset(Bind<wl_seat>(registry, name, wl_seat_interface, version, kSeatVersion));
    wl_seat_add_listener(globals_->seat.get(), &kSeatListener, this);
  } else if (kind == wl_output_interface.name) {
    auto output = std::make_unique<Output>();
    output->host = this;
    output->name = name;
    output->id = next_output_id_++;
    output->output.reset(
        Bind<wl_output>(registry, name, wl_output_interface, version, kOutputVersion));
    if (!output->output) return;
    wl_output_add_listener(output->output.get(), &kOutputListener, output.get());
    outputs_.push_back(std::move(output));
  }
}

void WaylandSaverWindowHost::GlobalRemoved(std::uint32_t name) {
  const auto gone = std::find_if(outputs_.begin(), outputs_.end(),
                                 [name](const auto& output) { return output->name == name; });
  if (gone != outputs_.end()) {
    DropSurface(**gone);
    outputs_.erase(gone);
  }
}

void WaylandSaverWindowHost::OutputDone(Output& output) {
  // The logical size from the mode, until the surface's configure gives the true one.
  if (output.geometry.width == 0 && output.mode_width > 0) {
    output.geometry.width = output.mode_width / output.scale();
    output.geometry.height = output.mode_height / output.scale();
  }
  if (started_ && !closed_ && !output.surface) {
    MakeSurface(output);
    return;
  }
  // A scale changed while the surface shows: its buffers follow at once.
  if (output.surface) wl_surface_set_buffer_scale(output.surface.get(), output.scale());
  if (output.configured) SurfaceConfigured(output, 0, 0);
}

void WaylandSaverWindowHost::MakeSurface(Output& output) {
  output.surface.reset(wl_compositor_create_surface(globals_->compositor.get()));
  if (!output.surface) return;
  wl_surface_set_buffer_scale(output.surface.get(), output.scale());
  if (shell_ == SurfaceShell::kLayerShell) {
    output.layer.reset(zwlr_layer_shell_v1_get_layer_surface(
        globals_->layer_shell.get(), output.surface.get(), output.output.get(),
        ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, "tolvenar"));
    zwlr_layer_surface_v1_add_listener(output.layer.get(), &kLayerListener, &output);
    zwlr_layer_surface_v1_set_anchor(output.layer.get(), ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP |
                                                             ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                                                             ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT |
                                                             ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
    // Over panels too, and nothing else's reserved space moves it.
    zwlr_layer_surface_v1_set_exclusive_zone(output.layer.get(), -1);
    zwlr_layer_surface_v1_set_keyboard_interactivity(output.layer.get(), 1);
  } else {
    output.xdg.reset(xdg_wm_base_get_xdg_surface(globals_->wm_base.get(), output.surface.get()));
    xdg_surface_add_listener(output.xdg.get(), &kXdgSurfaceListener, &output);
    output.toplevel.reset(xdg_surface_get_toplevel(output.xdg.get()));
    xdg_toplevel_add_listener(output.toplevel.get(), &kToplevelListener, &output);
    const std::string title(kSaverWindowTitle);
    xdg_toplevel_set_title(output.toplevel.get(), title.c_str());
    xdg_toplevel_set_app_id(output.toplevel.get(), "tolvenar");
    xdg_toplevel_set_fullscreen(output.toplevel.get(), output.output.get());
  }
  // The first commit carries no buffer: the compositor answers it with the surface's size.
  wl_surface_commit(output.surface.get());
}

void WaylandSaverWindowHost::SurfaceConfigured(Output& output, std::int32_t width,
                                               std::int32_t height) {
  // A size of 0 leaves it to the client: the output's own.
  if (width > 0 && height > 0) {
    output.geometry.width = width;
    output.geometry.height = height;
  }
  const std::int32_t pixel_width = std::max(output.geometry.width, 1) * output.scale();
  const std::int32_t pixel_height = std::max(output.geometry.height, 1) * output.scale();
  if (!output.egl_window) {
    output.egl_window.reset(wl_egl_window_create(output.surface.get(), pixel_width, pixel_height));
  } else {
    wl_egl_window_resize(output.egl_window.get(), pixel_width, pixel_height, 0, 0);
  }
  output.configured = static_cast<bool>(output.egl_window);
}

void WaylandSaverWindowHost::SurfaceClosed(Output& output) { DropSurface(output); }

void WaylandSaverWindowHost::DropSurface(Output& output) {
  if (output.surface && before_gone_) before_gone_(output.id);
  output.Reset();
}

void WaylandSaverWindowHost::SeatCapabilities(std::uint32_t capabilities) {
  const bool keys = (capabilities & WL_SEAT_CAPABILITY_KEYBOARD) != 0;
  const bool buttons = (capabilities & WL_SEAT_CAPABILITY_POINTER) != 0;
  if (keys && !globals_->keyboard) {
    globals_->keyboard.reset(wl_seat_get_keyboard(globals_->seat.get()));
    wl_keyboard_add_listener(globals_->keyboard.get(), &kKeyboardListener, this);
  } else if (!keys) {
    globals_->keyboard.reset();
  }
  if (buttons && !globals_->pointer) {
    globals_->pointer.reset(wl_seat_get_pointer(globals_->seat.get()));
    wl_pointer_add_listener(globals_->pointer.get(), &kPointerListener, this);
  } else if (!buttons) {
    globals_->pointer.reset();
  }
}

void WaylandSaverWindowHost::KeyPressed() {
  if (events_ && !closed_) events_->Form_KeyDown();
}

void WaylandSaverWindowHost::ButtonPressed() {
  if (events_ && !closed_) events_->Form_MouseDown();
}

// The pointer is hidden over the saver, as on the other systems.
void WaylandSaverWindowHost::PointerEntered(std::uint32_t serial) {
  if (globals_->pointer) wl_pointer_set_cursor(globals_->pointer.get(), serial, nullptr, 0, 0);
}

std::vector<PixelRect> WaylandSaverWindowHost::GetMonitors() {
  if (parts_.empty()) return {{0, 0, 1, 1}};
  return parts_;
}

std::optional<PixelPoint> WaylandSaverWindowHost::CanvasSize() {
  if (closed_ || parts_.empty()) return std::nullopt;
  const PixelRect whole = {
      0, 0, parts_.back().right,
      std::max_element(parts_.begin(), parts_.end(), [](const PixelRect& a, const PixelRect& b) {
        return a.bottom < b.bottom;
      })->bottom};
  return PixelPoint{whole.right, whole.bottom};
}

std::vector<WaylandCanvas::Shown> WaylandSaverWindowHost::ShownOutputs() {
  std::vector<Shown> shown;
  if (closed_) return shown;
  for (const auto& output : outputs_) {
    if (!output->configured || !output->egl_window) continue;
    const std::int32_t width = std::max(output->geometry.width, 1) * output->scale();
    const std::int32_t height = std::max(output->geometry.height, 1) * output->scale();
    const std::optional<PixelRect> picture = PictureOf(output->part, parts_, width, height);
    if (!picture) continue;
    shown.push_back({output->id, output->egl_window.get(), {*picture, width, height}});
  }
  return shown;
}

void WaylandSaverWindowHost::Close() {
  if (closing_ || closed_) return;
  closing_ = true;
  if (events_) {
    events_->Form_QueryUnload();
    events_->Form_Unload();
  }
  timers_.StopAll();
  for (const auto& output : outputs_) DropSurface(*output);
  wl_display_flush(display_);
  closed_ = true;
  closing_ = false;
}

void WaylandSaverWindowHost::EndProcess() { wl_display_flush(display_); }

void WaylandSaverWindowHost::StartTimer(SaverTimer timer, std::uint32_t interval_ms) {
  if (closed_) return;
  timers_.Start(timer, interval_ms, Now());
}

void WaylandSaverWindowHost::StopTimer(SaverTimer timer) { timers_.Stop(timer); }

void WaylandSaverWindowHost::StartIntervalTimer(std::uint32_t interval_ms,
                                                std::function<void()> tick) {
  if (closed_) return;
  timers_.StartInterval(interval_ms, std::move(tick), Now());
}

void WaylandSaverWindowHost::ProcessEvents(std::optional<FrameTime> until) {
  timers_.Run(*this, events_, until, [this] { return closed_; });
}

bool WaylandSaverWindowHost::DispatchOneEvent() {
  pollfd request{signals_.fd(), POLLIN, 0};
  if (poll(&request, 1, 0) == 1 && (request.revents & POLLIN) && signals_.TakeRequest()) {
    Close();
    return true;
  }
  if (closed_) return false;
  if (wl_display_dispatch_pending(display_) > 0) return true;
  // What has arrived, read without waiting.
  if (wl_display_prepare_read(display_) == 0) {
    wl_display_flush(display_);
    pollfd connection{wl_display_get_fd(display_), POLLIN, 0};
    if (poll(&connection, 1, 0) == 1 && Readable(connection)) {
      wl_display_read_events(display_);
    } else {
      wl_display_cancel_read(display_);
    }
  }
  const int handled = wl_display_dispatch_pending(display_);
  if (handled < 0) {
    // The compositor has gone, and the surfaces with it.
    Close();
    return true;
  }
  return handled > 0;
}

void WaylandSaverWindowHost::WaitForEvent(TimerTime wake) {
  if (closed_) return;
  // Events already queued need no wait; requests go out before the wait.
  if (wl_display_prepare_read(display_) != 0) return;
  wl_display_flush(display_);
  const TimerTime left = std::max(wake - clock_.Now(), TimerTime(0));
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(left);
  const timespec timeout{static_cast<time_t>(seconds.count()),
                         static_cast<long>((left - seconds).count())};
  pollfd sources[2] = {{wl_display_get_fd(display_), POLLIN, 0}, {signals_.fd(), POLLIN, 0}};
  // An interrupted wait (the termination signal's handler) returns early: the caller looks again.
  if (ppoll(sources, 2, &timeout, nullptr) > 0 && Readable(sources[0])) {
    wl_display_read_events(display_);
  } else {
    wl_display_cancel_read(display_);
  }
}

}  // namespace tolvenar::linux_port
