#pragma once
// The skinned `Command` button as a GtkButton, for containers: the core's control paints into a
// cairo image that the button's draw handler shows, with the caption drawn over it; the pointer,
// the buttons and the focus go to the control's handlers. A real GtkButton keeps the keyboard
// focus, the tab order, activation by Enter or Space and its accessible role and name.
#include <gtk/gtk.h>

#include <functional>
#include <memory>
#include <string>

#include "button/command.h"
#include "runtime/embedded_data.h"
#include "runtime/label.h"
#include "runtime/user_services.h"

namespace tolvenar::linux_port {

// Where and how a container places a button; lengths in pixels.
struct CommandButtonPlacement {
  int width = 117;
  int height = 28;
  std::string caption;                  // UTF-8
  FontDescription font = DesignFont();  // as the container stored it: only its face name is taken
  double twips_per_pixel = 15;          // the container's: the caption, font and frame follow it
};

class CommandButtonGtk {
 public:
  // Makes the button, loaded from the container's stored properties (caption and font; enabled,
  // black caption, opaque) and sized; the container adds widget() where it goes. The skins are
  // read from `embedded`; `pointer` tells it when the pointer has left.
  static std::unique_ptr<CommandButtonGtk> Create(const CommandButtonPlacement& placement,
                                                  EmbeddedData& embedded, PointerLocator& pointer,
                                                  std::function<void()> on_click);
  ~CommandButtonGtk();
  CommandButtonGtk(const CommandButtonGtk&) = delete;
  CommandButtonGtk& operator=(const CommandButtonGtk&) = delete;

  GtkWidget* widget() const;
  // Starts the looks and the pointer polling (100 ms).
  void Initialize();
  void SetEnabled(bool enabled);
  // The control itself, for its other properties.
  Command& Control();
  // The image the control painted last (the caption is drawn over it on each draw).
  cairo_surface_t* Image() const;

  class Parts;

 private:
  explicit CommandButtonGtk(std::unique_ptr<Parts> parts);
  std::unique_ptr<Parts> parts_;
};

}  // namespace tolvenar::linux_port
