#include "settings_dialog/windowless_elements.h"

#include <utility>

namespace tolvenar {

WindowlessElements::Id WindowlessElements::Add(Element element) {
  elements_.push_back(std::move(element));
  return elements_.size() - 1;
}

void WindowlessElements::TextMeasured(Id id, std::int32_t width, std::int32_t height) {
  PixelRect& box = elements_.at(id).box;
  if (!elements_.at(id).fits_text) return;
  box.right = box.left + width;
  box.bottom = box.top + height;
}

std::optional<WindowlessElements::Id> WindowlessElements::At(PixelPoint point) const {
  for (Id id = 0; id < elements_.size(); ++id) {
    if (elements_[id].box.Contains(point)) return id;
  }
  return std::nullopt;
}

void WindowlessElements::Press(PixelPoint point, std::int16_t button) {
  pressed_.Press(button);
  const std::optional<Id> target = At(point);
  if (button == kLeftButton) left_pressed_on_ = target;
  if (target && elements_[*target].on_press) elements_[*target].on_press();
}

std::function<void()> WindowlessElements::Release(PixelPoint point, std::int16_t button) {
  if (!pressed_.Release(button) || button != kLeftButton) return {};
  const std::optional<Id> pressed_on = std::exchange(left_pressed_on_, std::nullopt);
  if (!pressed_on || At(point) != pressed_on) return {};
  return elements_[*pressed_on].on_click;
}

void WindowlessElements::Cancel() {
  pressed_.Cancel();
  left_pressed_on_.reset();
}

std::optional<PointerShape> WindowlessElements::ShapeAt(std::optional<PixelPoint> point,
                                                        AppPointerShape app) const {
  if (app == AppPointerShape::kHourglass) return PointerShape::kHourglass;
  if (!point) return std::nullopt;
  const std::optional<Id> under = At(*point);
  return under && elements_[*under].hand_pointer ? PointerShape::kHand : PointerShape::kArrow;
}

}  // namespace tolvenar
