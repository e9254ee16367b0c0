#pragma once
// The skinned `Command` button as a child window, for containers: create it on any window, then
// call Initialize from the container's load handler.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "button/command.h"
#include "runtime/label.h"
#include "runtime/embedded_data.h"
#include "runtime/user_services.h"
#include "runtime/win32/persistent_surface_win32.h"

namespace tolvenar::win32 {

// Where and how a container places a button; lengths in pixels.
struct CommandButtonPlacement {
  int x = 0;
  int y = 0;
  int width = 117;
  int height = 28;
  std::string caption;                  // UTF-8
  FontDescription font = DesignFont();  // as the container stored it: only its face name is taken
  int control_id = 0;                   // the child window's id
  double twips_per_pixel = 15;          // the container's: the caption, font and frame follow it
};

class CommandButtonWin32 {
 public:
  // Creates the button as a visible child of `parent`, loaded from the container's stored
  // properties (caption and font; enabled, black caption, opaque), sized and painted. The skins
  // are read from `embedded`; `pointer` tells it when the pointer has left. nullptr when the window
  // cannot be created.
  static std::unique_ptr<CommandButtonWin32> Create(HWND parent,
                                                    const CommandButtonPlacement& placement,
                                                    EmbeddedData& embedded, PointerLocator& pointer,
                                                    std::function<void()> on_click);
  ~CommandButtonWin32();
  CommandButtonWin32(const CommandButtonWin32&) = delete;
  CommandButtonWin32& operator=(const CommandButtonWin32&) = delete;

  HWND Handle() const;
  // Starts the looks and the pointer polling (100 ms).
  void Initialize();
  void SetEnabled(bool enabled);
  bool Enabled();
  // The control itself, for its other properties (Caption, Font, FontColour, Visible).
  Command& Control();
  // The persistent image the button paints into (the caption is drawn over it on paint).
  const Win32PersistentSurface& Surface() const;

  class Parts;

 private:
  explicit CommandButtonWin32(std::unique_ptr<Parts> parts);
  std::unique_ptr<Parts> parts_;
};

}  // namespace tolvenar::win32
