#pragma once
// The skinned push button `Command`: six bitmap skins drawn as four corners and four stretched
// edges over a vertical two-colour gradient, a centred caption, four looks that follow the pointer,
// the focus and the left button, and `Click` raised on a release.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "runtime/label.h"
#include "runtime/drawing_surface.h"
#include "runtime/embedded_data.h"
#include "runtime/mouse_press.h"
#include "runtime/picture.h"
#include "runtime/user_control.h"
#include "runtime/user_services.h"

namespace tolvenar {

enum class Skin { kNormal, kHighLight, kHighLightSelect, kSelected, kPressed, kDisable };
inline constexpr int kSkinCount = 6;
using SkinSet = std::array<Picture, kSkinCount>;

// Resource names of the six skins, in Skin order.
inline constexpr std::array<std::string_view, kSkinCount> kSkinResourceNames = {
    "SKIN_NORMAL",   "SKIN_HIGHLIGHT", "SKIN_HIGHLIGHTSELECT",
    "SKIN_SELECTED", "SKIN_PRESSED",   "SKIN_DISABLE"};

// Decodes the six embedded skins; a missing or undecodable one stays empty.
SkinSet LoadSkins(EmbeddedData& data);

// Booleans as the control stores them.
inline constexpr std::int16_t kTrue = -1;
inline constexpr std::int16_t kFalse = 0;

// Looks (`State`).
inline constexpr std::uint8_t kStateNormal = 1;
inline constexpr std::uint8_t kStateHighLight = 2;
inline constexpr std::uint8_t kStateSelected = 3;
inline constexpr std::uint8_t kStateHighLightSelect = 4;

inline constexpr std::uint32_t kMouseTimerInterval = 100;  // ms

// The design font of the control and its caption.
FontDescription DesignFont();

// The patch coordinates of the last paint, 16-bit twips.
struct PatchLayout {
  std::int16_t edge_width = 0;   // W - 120
  std::int16_t edge_height = 0;  // H - 120
  std::int16_t right = 0;        // W - 60
  std::int16_t bottom = 0;       // H - 60
};

class Command {
 public:
  // Creation: every field zero, the timer off at 100 ms, the caption label at its design values.
  Command(ControlSurface& surface, StyledLabel& label, IntervalTimer& timer,
          PointerLocator& pointer, ControlHost& host, SkinSet skins);
  Command(const Command&) = delete;
  Command& operator=(const Command&) = delete;

  // The container's handler of the `Click` event; runs before the raise returns.
  void SetClickHandler(std::function<void()> handler) { click_ = std::move(handler); }

  // Public members.
  void Initialize();
  std::uint8_t Visible();
  void SetVisible(std::uint8_t value);
  std::uint32_t FontColour();
  void SetFontColour(std::uint32_t colour);
  std::int16_t Enabled();
  void SetEnabled(std::int16_t value);
  std::string Caption();
  void SetCaption(const std::string& caption);
  FontDescription Font();
  void SetFont(const FontDescription& font);

  // Handlers the host calls.
  void UserControl_ReadProperties(PropertyBag& bag);
  void UserControl_WriteProperties(PropertyBag& bag);
  void UserControl_Resize();
  void UserControl_MouseDown(std::int16_t button, std::int16_t shift, double x, double y);
  void UserControl_MouseMove(std::int16_t button, std::int16_t shift, double x, double y);
  void UserControl_MouseUp(std::int16_t button, std::int16_t shift, double x, double y);
  void LblMsg_MouseDown(std::int16_t button, std::int16_t shift, double x, double y);
  void LblMsg_MouseMove(std::int16_t button, std::int16_t shift, double x, double y);
  void LblMsg_MouseUp(std::int16_t button, std::int16_t shift, double x, double y);
  void UserControl_GotFocus();
  void UserControl_LostFocus();
  void TmrMouse_Timer();

  // Fields, readable for tests and hosts.
  std::uint8_t State() const { return state_; }
  std::int16_t ButtonEnabled() const { return button_enabled_; }
  std::uint8_t FirstRun() const { return first_run_; }
  std::int16_t MouseIsDown() const { return mouse_is_down_; }
  std::int16_t ReverseGradient() const { return reverse_gradient_; }
  const std::array<TriVertex, 4>& Vertices() const { return vertices_; }
  const GradientRectangle& GradientRect() const { return gradient_rect_; }
  const PatchLayout& Layout() const { return layout_; }

 private:
  void ApplyEnabled();
  void ApplyLook();
  void DrawState(Skin skin);
  void FillGradient();
  void PointerLeft();
  void FirstRunStep();
  void RaiseClick();

  ControlSurface& surface_;
  StyledLabel& label_;
  IntervalTimer& timer_;
  PointerLocator& pointer_;
  ControlHost& host_;
  SkinSet skins_;
  std::function<void()> click_;

  std::uint8_t state_ = 0;
  std::int16_t button_enabled_ = kFalse;
  std::uint8_t first_run_ = 0;
  std::int16_t mouse_is_down_ = kFalse;
  std::int16_t reverse_gradient_ = kFalse;
  std::array<TriVertex, 4> vertices_{};
  GradientRectangle gradient_rect_{};
  PatchLayout layout_{};
};

}  // namespace tolvenar
