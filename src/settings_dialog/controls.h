#pragma once
// The controls a window of the program is built from, as its event handlers see them. Lengths are
// twips; texts are bytes (UTF-8 for fixed captions, the ANSI code page for paths).
#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/drawing_surface.h"
#include "runtime/label.h"
#include "runtime/pixel_geometry.h"
#include "runtime/window_handle.h"

namespace tolvenar {

// A top-level window shown modally by its owner.
class ModalWindow {
 public:
  virtual ~ModalWindow() = default;
  // The platform handle of the window (it exists, even while hidden).
  virtual WindowHandle Handle() = 0;
  // Outer width and height of the window, in twips.
  virtual double WidthTwips() = 0;
  virtual double HeightTwips() = 0;
  // Moves the window's outer top-left corner to this screen position in twips; the size stays.
  virtual void MoveTo(std::int32_t left_twips, std::int32_t top_twips) = 0;
  // Closes the window once the running handler has returned: its unload handler runs, then it goes.
  virtual void Close() = 0;
  // Lays the window and every control out again at this many twips per pixel, the window's outer
  // rectangle at `outer` (screen pixels); the controls keep their contents, states and the focus.
  virtual void LayOutAt(double twips_per_pixel_x, double twips_per_pixel_y,
                        const PixelRect& outer) = 0;
};

// A control that can be switched between enabled and disabled (greyed, takes no input).
class EnabledSwitch {
 public:
  virtual ~EnabledSwitch() = default;
  virtual void SetEnabled(bool enabled) = 0;
};

// A windowless picture shown at its own size.
class ImageControl {
 public:
  virtual ~ImageControl() = default;
  // Shows the embedded picture of this name (replacing the previous one).
  virtual void SetPicture(std::string_view picture_name) = 0;
};

// A combo box with an editable text field and a drop-down list.
class EditableComboBox : public EnabledSwitch {
 public:
  // The text of the edit field (ANSI bytes).
  virtual std::string Text() = 0;
  virtual void SetText(const std::string& text) = 0;
  // Appends one item to the end of the list; the edit field is not touched.
  virtual void AddItem(const std::string& item) = 0;
};

}  // namespace tolvenar
