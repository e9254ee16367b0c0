#pragma once
// The dialog's three skinned `Command` buttons as child windows.
#include <windows.h>

#include <functional>
#include <memory>
#include <string_view>

#include "runtime/embedded_data.h"
#include "settings_dialog/settings_dialog.h"

namespace tolvenar::win32 {

class CommandButtonWin32;

// A dialog button that can be made again at another scale.
class DialogButton : public CommandControl {
 public:
  // Makes the button's window anew at `box` (pixels, laid out at `twips_per_pixel`) in its place
  // of the tab order, with its state and the focus when it had it; the old one stays when the new
  // one cannot be made.
  virtual void Rebuild(RECT box, double twips_per_pixel) = 0;
};

// Creates a button as a child of `parent` at `box` (pixels, laid out at `twips_per_pixel`) with a
// UTF-8 caption in the dialog's font, its skins from `embedded` and the pointer's whereabouts from
// `pointer`; `on_click` runs when it is clicked. nullptr when the window cannot be created.
std::unique_ptr<DialogButton> MakeDialogButton(HWND parent, RECT box, double twips_per_pixel,
                                               std::string_view caption, EmbeddedData& embedded,
                                               PointerLocator& pointer,
                                               std::function<void()> on_click);

}  // namespace tolvenar::win32
