#pragma once
// The repeat field: a drop-down combo box whose edit field takes any text.
#include <windows.h>

#include <memory>
#include <string>

#include "settings_dialog/settings_dialog.h"

namespace tolvenar::win32 {

class Win32ComboBox final : public EditableComboBox {
 public:
  // Creates the box as a child of `parent` at `box` (pixels: the edit field's height; the list
  // drops below it) in `font`. nullptr when the window cannot be created.
  static std::unique_ptr<Win32ComboBox> Create(HWND parent, const RECT& box, HFONT font);
  explicit Win32ComboBox(HWND hwnd) : hwnd_(hwnd) {}

  // Moves the box to `box` in `font` (laid out at another scale); text, list and state stay.
  void Relayout(const RECT& box, HFONT font);
  void SetEnabled(bool enabled) override;
  std::string Text() override;
  void SetText(const std::string& text) override;
  void AddItem(const std::string& item) override;

 private:
  HWND hwnd_;
};

}  // namespace tolvenar::win32
