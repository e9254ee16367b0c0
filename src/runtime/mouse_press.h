#pragma once
// Mouse buttons as the handlers receive them, and the rule every control keeps for them: the
// control a button went down on keeps the mouse until that button comes up, and a release counts
// only there.
#include <cstdint>

namespace tolvenar {

inline constexpr std::int16_t kLeftButton = 1;
inline constexpr std::int16_t kRightButton = 2;
inline constexpr std::int16_t kMiddleButton = 4;

// The buttons that went down on one control and have not come up yet.
class PressedButtons {
 public:
  void Press(std::int16_t button) { held_ = static_cast<std::int16_t>(held_ | button); }
  // True when `button` went down on this control: only then is its release the control's.
  bool Release(std::int16_t button) {
    const bool pressed_here = (held_ & button) != 0;
    held_ = static_cast<std::int16_t>(held_ & ~button);
    return pressed_here;
  }
  // The mouse was taken away (another window captured it): no pending release counts any more.
  void Cancel() { held_ = 0; }

 private:
  std::int16_t held_ = 0;
};

}  // namespace tolvenar
