#pragma once
// The windowless labels and images of one dialog surface as the pointer meets them: which one is
// under it, what a press and a release on them do, and which pointer shows over them. The surface
// keeps the mouse from a press until the release, so a release counts only where its press was.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "runtime/mouse_press.h"
#include "runtime/pixel_geometry.h"
#include "runtime/user_services.h"

namespace tolvenar {

enum class PointerShape { kArrow, kHand, kHourglass };

class WindowlessElements {
 public:
  using Id = std::size_t;
  struct Element {
    PixelRect box;
    std::function<void()> on_press;  // any mouse button went down on it
    std::function<void()> on_click;  // the left button went down and came up on it
    bool hand_pointer = false;
    bool fits_text = false;  // a label whose box follows its measured text
  };

  Id Add(Element element);
  // The element's text now measures `width` by `height` pixels: a label that fits its text keeps
  // its top-left corner and takes that size; any other element keeps its box.
  void TextMeasured(Id id, std::int32_t width, std::int32_t height);
  const PixelRect& Box(Id id) const { return elements_.at(id).box; }
  // Places the element anew (the surface was laid out at another scale).
  void SetBox(Id id, const PixelRect& box) { elements_.at(id).box = box; }
  // The element under a point; where boxes overlap, the one added first.
  std::optional<Id> At(PixelPoint point) const;

  // A mouse button went down at `point`: the element there takes the press.
  void Press(PixelPoint point, std::int16_t button);
  // A mouse button came up at `point`: what its click runs when the left button went down on the
  // same element and comes up over it (empty otherwise). The caller runs it once the mouse is free.
  std::function<void()> Release(PixelPoint point, std::int16_t button);
  // The mouse was taken away before the release.
  void Cancel();

  // The pointer over the surface: the program's hourglass while it is set, the hand over an element
  // that asks for it, else the arrow. `point` is nullopt where the pointer is not on the surface's
  // own client area (a child control or the frame), which keeps its own pointer unless busy.
  std::optional<PointerShape> ShapeAt(std::optional<PixelPoint> point, AppPointerShape app) const;

 private:
  std::vector<Element> elements_;
  PressedButtons pressed_;
  std::optional<Id> left_pressed_on_;
};

}  // namespace tolvenar
