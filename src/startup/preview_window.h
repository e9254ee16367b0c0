#pragma once
// The window services the preview mode uses: the foreign preview area it is placed into and the one
// preview window it creates, moves and closes.
#include <cstdint>

#include "runtime/pixel_geometry.h"
#include "runtime/window_handle.h"

namespace tolvenar {

inline constexpr std::uint32_t kWindowStyleChild = 0x40000000;  // WS_CHILD

class PreviewWindowServices {
 public:
  virtual ~PreviewWindowServices() = default;
  // The outer rectangle of window `handle` in screen pixels (GetWindowRect); false, `rect`
  // untouched, when the handle names no window.
  virtual bool GetWindowRect(WindowHandle handle, PixelRect& rect) = 0;
  // True while window `handle` exists.
  virtual bool WindowExists(WindowHandle handle) = 0;
  // The screen's twips per pixel across and down (1440 / dots per inch; 15 at 96 dpi).
  virtual double TwipsPerPixelX() = 0;
  virtual double TwipsPerPixelY() = 0;
  // Creates the preview window, hidden: caption "Preview Window", black, holding the still; false
  // when it cannot be created (the later calls then do nothing).
  virtual bool CreatePreviewWindow() = 0;
  // The preview window's style bits (GetWindowLongA GWL_STYLE).
  virtual std::uint32_t ReadWindowStyle() = 0;
  // Writes the preview window's style bits (SetWindowLongA GWL_STYLE); false on failure.
  virtual bool WriteWindowStyle(std::uint32_t style) = 0;
  // Makes `parent` the preview window's parent (SetParent); false on failure.
  virtual bool SetParentWindow(WindowHandle parent) = 0;
  // Places the preview window, in twips relative to its parent's client area.
  virtual void MoveWindowTwips(std::int32_t left, std::int32_t top, std::int32_t width,
                               std::int32_t height) = 0;
  // Sizes and places the still inside the preview window, in pixels.
  virtual void SizeImage(std::int32_t width, std::int32_t height) = 0;
  virtual void PlaceImage(std::int32_t left, std::int32_t top) = 0;
  // Shows the preview window, not modally.
  virtual void ShowPreviewWindow() = 0;
  // Queues WM_CLOSE to the preview window's own handle (PostMessageA); false when not queued.
  virtual bool PostCloseToSelf() = 0;
};

}  // namespace tolvenar
