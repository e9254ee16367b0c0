#include "scene/linux/saver_window_x11.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrandr.h>
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <string>
#include <utility>

#include "runtime/linux/owners_x11.h"
#include "scene/linux/x_display.h"
#include "scene/saver_window.h"

namespace tolvenar::linux_port {

void LoadSaverWindow(const SaverWindowParts& parts, const X11SaverWindowSetup& setup) {
  if (!setup.display || !setup.signals) {
    throw std::logic_error("the X11 saver window was handed no display or no signals");
  }
  X11SaverWindowHost host(setup.display, setup.place, *setup.signals);
  if (host.window() == None) return;
  std::unique_ptr<Scene> scene = setup.make_scene(setup.display, host.window());
  if (!scene) return;
  SaverWindow form = MakeSaverWindow(parts, host, *scene, host.clock());
  host.Connect(form);
  if (setup.every_interval) host.StartIntervalTimer(setup.interval_ms, setup.every_interval);
  form.Form_Load();
}

Window VirtualRootWindow(Display* display) {
  const Window root = DefaultRootWindow(display);
  const Atom vroot = XInternAtom(display, "__SWM_VROOT", False);
  Window root_return = None, parent = None;
  XMemory<Window> children;
  unsigned count = 0;
  if (!XQueryTree(display, root, &root_return, &parent, children.put(), &count)) return root;
  Window found = root;
  for (unsigned i = 0; i < count && found == root; ++i) {
    Atom type = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    XMemory<unsigned char> data;
    if (XGetWindowProperty(display, children.get()[i], vroot, 0, 1, False, XA_WINDOW, &type,
                           &format, &items, &after, data.put()) == Success &&
        type == XA_WINDOW && format == 32 && items == 1 && data) {
      found = *reinterpret_cast<Window*>(data.get());
    }
  }
  return found;
}

X11SaverWindowHost::X11SaverWindowHost(Display* display, const SaverWindowPlace& place,
                                       TerminationSignals& signals)
    : display_(display), place_(place), signals_(signals) {
  if (place_.target == SaverTarget::kOwnWindow) {
    CreateOwnWindow();
  } else {
    window_ =
        place_.target == SaverTarget::kHostWindow ? place_.window : VirtualRootWindow(display_);
    WatchForeignWindow();
  }
}

X11SaverWindowHost::~X11SaverWindowHost() {
  events_ = nullptr;
  if (place_.target == SaverTarget::kOwnWindow && window_ != None && !gone_) {
    XDestroyWindow(display_, window_);
  }
  if (invisible_pointer_ != None) XFreeCursor(display_, invisible_pointer_);
  XFlush(display_);
}

void X11SaverWindowHost::CreateOwnWindow() {
  const int screen = DefaultScreen(display_);
  XSetWindowAttributes attributes{};
  attributes.background_pixel = BlackPixel(display_, screen);
  attributes.event_mask = KeyPressMask | ButtonPressMask | StructureNotifyMask | ExposureMask;
  // A pointer with no pixel set: hidden while over the saver.
  const char no_bits[1] = {0};
  const Pixmap empty = XCreateBitmapFromData(display_, DefaultRootWindow(display_), no_bits, 1, 1);
  XColor black{};
  invisible_pointer_ = XCreatePixmapCursor(display_, empty, empty, &black, &black, 0, 0);
  XFreePixmap(display_, empty);
  attributes.cursor = invisible_pointer_;
  // Form_Load gives it the monitors' size and position before it is shown.
  width_ = DisplayWidth(display_, screen);
  height_ = DisplayHeight(display_, screen);
  window_ =
      XCreateWindow(display_, DefaultRootWindow(display_), 0, 0, static_cast<unsigned>(width_),
                    static_cast<unsigned>(height_), 0, CopyFromParent, InputOutput, CopyFromParent,
                    CWBackPixel | CWEventMask | CWCursor, &attributes);
  if (window_ == None) return;
  const std::string title(kSaverWindowTitle);
  XStoreName(display_, window_, title.c_str());
  XClassHint class_hint{const_cast<char*>("tolvenar"), const_cast<char*>("Tolvenar")};
  XSetClassHint(display_, window_, &class_hint);
  wm_delete_window_ = XInternAtom(display_, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(display_, window_, &wm_delete_window_, 1);
  // A window manager lays it over everything, undecorated; without one it keeps its geometry.
  const Atom fullscreen = XInternAtom(display_, "_NET_WM_STATE_FULLSCREEN", False);
  XChangeProperty(display_, window_, XInternAtom(display_, "_NET_WM_STATE", False), XA_ATOM, 32,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(&fullscreen), 1);
}

void X11SaverWindowHost::WatchForeignWindow() {
  // Input on a window another client owns is its business (and a button selection may be refused):
  // only its size and its end are followed.
  XSelectInput(display_, window_, StructureNotifyMask | ExposureMask);
  // The reply also tells whether the window went before the selection took: then no DestroyNotify
  // will ever come, and the run ends at once.
  XWindowAttributes attributes{};
  if (!XGetWindowAttributes(display_, window_, &attributes)) {
    gone_ = true;
    return;
  }
  width_ = attributes.width;
  height_ = attributes.height;
}

std::vector<PixelRect> X11SaverWindowHost::GetMonitors() {
  if (!place_.covers_monitors) return {{0, 0, width_, height_}};
  return MonitorRects(display_);
}

void X11SaverWindowHost::SetSize(int width, int height) {
  if (place_.target != SaverTarget::kOwnWindow || window_ == None || closed_) return;
  if (width <= 0 || height <= 0) return;
  XResizeWindow(display_, window_, static_cast<unsigned>(width), static_cast<unsigned>(height));
  width_ = width;
  height_ = height;
}

void X11SaverWindowHost::Move(int left, int top) {
  if (place_.target != SaverTarget::kOwnWindow || window_ == None || closed_) return;
  XMoveWindow(display_, window_, left, top);
}

void X11SaverWindowHost::ShowNormal() {
  if (place_.target != SaverTarget::kOwnWindow || window_ == None || closed_) return;
  XMapRaised(display_, window_);
  XFlush(display_);
}

void X11SaverWindowHost::Close() {
  if (window_ == None || closing_ || closed_) return;
  closing_ = true;
  if (events_) {
    events_->Form_QueryUnload();
    events_->Form_Unload();
  }
  timers_.StopAll();
  if (!gone_) {
    if (place_.target == SaverTarget::kOwnWindow) {
      XDestroyWindow(display_, window_);
      gone_ = true;
    } else {
      XSelectInput(display_, window_, NoEventMask);
    }
  }
  XFlush(display_);
  closed_ = true;
  closing_ = false;
}

void X11SaverWindowHost::StartTimer(SaverTimer timer, std::uint32_t interval_ms) {
  if (window_ == None || closed_) return;
  timers_.Start(timer, interval_ms, Now());
}

void X11SaverWindowHost::StopTimer(SaverTimer timer) { timers_.Stop(timer); }

void X11SaverWindowHost::StartIntervalTimer(std::uint32_t interval_ms, std::function<void()> tick) {
  if (window_ == None || closed_) return;
  timers_.StartInterval(interval_ms, std::move(tick), Now());
}

void X11SaverWindowHost::ProcessEvents(std::optional<FrameTime> until) {
  timers_.Run(*this, events_, until, [this] { return closed_; });
}

void X11SaverWindowHost::WaitForEvent(TimerTime wake) {
  // The requests go out first (the server's answers may be what is awaited), and an event Xlib
  // has already read while sending needs no wait.
  XFlush(display_);
  if (XEventsQueued(display_, QueuedAlready) > 0) return;
  const TimerTime left = std::max(wake - clock_.Now(), TimerTime(0));
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(left);
  const timespec timeout{static_cast<time_t>(seconds.count()),
                         static_cast<long>((left - seconds).count())};
  pollfd sources[2] = {{ConnectionNumber(display_), POLLIN, 0}, {signals_.fd(), POLLIN, 0}};
  // An interrupted wait (the termination signal's handler) returns early: the caller looks again.
  (void)ppoll(sources, 2, &timeout, nullptr);
}

bool X11SaverWindowHost::DispatchOneEvent() {
  pollfd request{signals_.fd(), POLLIN, 0};
  if (poll(&request, 1, 0) == 1 && (request.revents & POLLIN) && signals_.TakeRequest()) {
    Close();
    return true;
  }
  // Reads what the connection holds without waiting, after sending what is queued.
  if (XPending(display_) == 0) return false;
  XEvent event;
  XNextEvent(display_, &event);
  Handle(event);
  return true;
}

// The frame clock is the timers' too: one wait serves both.
TimerTime X11SaverWindowHost::Now() { return clock_.Now(); }

void X11SaverWindowHost::Handle(const XEvent& event) {
  if (closed_ || event.xany.window != window_) return;
  switch (event.type) {
    case KeyPress:  // any key, also a lone Shift or Ctrl
      if (events_) events_->Form_KeyDown();
      break;
    case ButtonPress:
      // Buttons 4 to 7 are the wheel's turns, which press no button.
      if (events_ && (event.xbutton.button < 4 || event.xbutton.button > 7)) {
        events_->Form_MouseDown();
      }
      break;
    case ClientMessage:
      if (static_cast<Atom>(event.xclient.data.l[0]) == wm_delete_window_) Close();
      break;
    case MapNotify:
      // Keys go to the saver even where a window manager would leave the focus elsewhere.
      if (place_.target == SaverTarget::kOwnWindow) {
        XSetInputFocus(display_, window_, RevertToParent, CurrentTime);
      }
      break;
    case ConfigureNotify:
      width_ = event.xconfigure.width;
      height_ = event.xconfigure.height;
      break;
    case DestroyNotify:
      if (event.xdestroywindow.window != window_) break;
      gone_ = true;
      Close();
      break;
    default:
      break;
  }
}

}  // namespace tolvenar::linux_port
