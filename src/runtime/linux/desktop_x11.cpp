#include "runtime/linux/desktop_x11.h"

#include <X11/Xutil.h>

#include "runtime/linux/owners_x11.h"

namespace tolvenar::linux_port {
namespace {

bool Titled(Display* display, Window window, const std::string& title) {
  XMemory<char> name;
  if (!XFetchName(display, window, name.put()) || !name) return false;
  return title == name.get();
}

// The window or one of its children down to `depth` levels has the title.
bool FindTitled(Display* display, Window window, const std::string& title, int depth) {
  Window root = 0;
  Window parent = 0;
  XMemory<Window> children;
  unsigned count = 0;
  if (!XQueryTree(display, window, &root, &parent, children.put(), &count)) return false;
  bool found = false;
  for (unsigned i = 0; i < count && !found; ++i) {
    found = Titled(display, children.get()[i], title) ||
            (depth > 1 && FindTitled(display, children.get()[i], title, depth - 1));
  }
  return found;
}

}  // namespace

bool X11Desktop::TopLevelWindowExists(const std::string& title) {
  if (!display_) return false;
  return FindTitled(display_, DefaultRootWindow(display_), title, 2);
}

}  // namespace tolvenar::linux_port
