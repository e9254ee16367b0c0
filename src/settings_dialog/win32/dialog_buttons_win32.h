#pragma once
// The dialog's three push buttons as child windows.
#include <windows.h>

#include <functional>
#include <memory>
#include <string_view>

#include "settings_dialog/settings_dialog.h"

namespace tolvenar::win32 {

struct ButtonFont {
  HFONT font;                  // for the caption
  std::string_view face_name;  // UTF-8
};

// Creates a button as a child of `parent` at `box` (pixels) with a UTF-8 caption; `on_click` runs
// when it is clicked. nullptr when the window cannot be created.
std::unique_ptr<CommandControl> MakeDialogButton(HWND parent, RECT box, std::string_view caption,
                                                 const ButtonFont& font,
                                                 std::function<void()> on_click);

// The parent's part of a click: buttons that report BN_CLICKED to their parent are handed back
// here (other windows are ignored).
void ClickDialogButton(HWND button);

}  // namespace tolvenar::win32
