#include "button/command.h"

#include <utility>

#include "runtime/conversions.h"

namespace tolvenar {
namespace {

// The caption label as laid out at design time, in twips.
constexpr const char* kDesignCaption = "Command";
constexpr double kDesignLabelLeft = 0;
constexpr double kDesignLabelTop = 90;
constexpr double kDesignLabelWidth = 1635;
constexpr double kDesignLabelHeight = 195;

// Persisted property keys and their defaults; reading and writing the caption use different
// defaults, so a caption "Command" is not stored and comes back as "Command1".
constexpr const char* kEnabledKey = "Enabled";
constexpr const char* kCaptionKey = "Caption";
constexpr const char* kFontKey = "Font";
constexpr const char* kFirstRunKey = "FirstRun";
constexpr const char* kFontColourKey = "FontColour";
constexpr const char* kVisibleKey = "Visible";
constexpr const char* kCaptionReadDefault = "Command1";
constexpr const char* kCaptionWriteDefault = "Command";

// Skin geometry in twips: 64 x 25 pixels, a 4-pixel ring drawn as corners and edges.
constexpr double kCorner = 60;
constexpr double kSkinWidth = 960;
constexpr double kSkinHeight = 375;
constexpr double kSourceEdgeWidth = kSkinWidth - 2 * kCorner;    // 840
constexpr double kSourceEdgeHeight = kSkinHeight - 2 * kCorner;  // 255

// The gradient colours are the texts "&HFFFFFF" and "&HC6C5D7" read in reading order: red, green,
// blue. The second is a lavender grey (198, 197, 215).
struct Rgb {
  std::uint8_t red, green, blue;
};
constexpr Rgb kGradientWhite = {0xFF, 0xFF, 0xFF};
constexpr Rgb kGradientLavender = {0xC6, 0xC5, 0xD7};

void SetColour(TriVertex& vertex, Rgb colour) {
  vertex.red = static_cast<std::uint16_t>(colour.red << 8);
  vertex.green = static_cast<std::uint16_t>(colour.green << 8);
  vertex.blue = static_cast<std::uint16_t>(colour.blue << 8);
  vertex.alpha = 0;
}

// Stores a layout value when it fits 16 bits; otherwise the previous value stays.
void StoreIfFits(std::int16_t& field, double value) {
  if (auto fitted = ToInt16(value)) field = *fitted;
}

}  // namespace

// Wine has no face of this name; with fonts-ipafont-gothic installed it draws the captions, kanji
// and half-width katakana alike, in IPAGothic.
FontDescription DesignFont() {
  FontDescription font;
  font.face_name = "ＭＳ Ｐゴシック";
  font.size_points = 9.75;
  font.weight = 400;
  font.charset = 128;  // Shift-JIS
  return font;
}

SkinSet LoadSkins(EmbeddedData& data) {
  SkinSet skins;
  for (int i = 0; i < kSkinCount; ++i) {
    auto picture = DecodePicture(data.Bytes(kSkinResourceNames[i]));
    if (picture) skins[i] = std::move(*picture);
  }
  return skins;
}

Command::Command(ControlSurface& surface, StyledLabel& label, IntervalTimer& timer,
                 PointerLocator& pointer, ControlHost& host, SkinSet skins)
    : surface_(surface),
      label_(label),
      timer_(timer),
      pointer_(pointer),
      host_(host),
      skins_(std::move(skins)) {
  timer_.SetEnabled(false);
  timer_.SetInterval(kMouseTimerInterval);
  label_.SetCaption(kDesignCaption);
  label_.SetForeColour(0);
  label_.SetFont(DesignFont());
  label_.SetLeft(kDesignLabelLeft);
  label_.SetTop(kDesignLabelTop);
  label_.SetWidth(kDesignLabelWidth);
  label_.SetHeight(kDesignLabelHeight);
}

void Command::Initialize() {
  state_ = kStateNormal;
  timer_.SetEnabled(true);
  timer_.SetInterval(kMouseTimerInterval);
}

std::uint8_t Command::Visible() {
  if (surface_.GetBackStyle() == BackStyle::kTransparent) return 0;
  ApplyLook();
  return 255;
}

void Command::SetVisible(std::uint8_t value) {
  if (value != 0) {
    surface_.SetBackStyle(static_cast<std::int16_t>(BackStyle::kOpaque));
    ApplyLook();
  } else {
    surface_.SetBackStyle(static_cast<std::int16_t>(BackStyle::kTransparent));
  }
  host_.PropertyChanged(kVisibleKey);
}

std::uint32_t Command::FontColour() {
  const std::uint32_t colour = label_.ForeColour();
  ApplyLook();
  return colour;
}

void Command::SetFontColour(std::uint32_t colour) {
  const bool stored = label_.SetForeColour(colour);
  ApplyLook();
  if (!stored) return;  // nothing changed, nothing to store again
  host_.PropertyChanged(kFontColourKey);
}

std::int16_t Command::Enabled() {
  FirstRunStep();
  const std::int16_t result = button_enabled_;
  ApplyEnabled();
  return result;
}

void Command::SetEnabled(std::int16_t value) {
  button_enabled_ = value != 0 ? kTrue : kFalse;
  host_.PropertyChanged(kEnabledKey);
  ApplyEnabled();
}

std::string Command::Caption() { return label_.Caption(); }

void Command::SetCaption(const std::string& caption) {
  label_.SetCaption(caption);
  host_.PropertyChanged(kCaptionKey);
}

FontDescription Command::Font() { return label_.Font(); }

void Command::SetFont(const FontDescription& font) {
  label_.SetFont(font);
  host_.PropertyChanged(kFontKey);
}

void Command::UserControl_ReadProperties(PropertyBag& bag) {
  // Each key on its own: a value that does not convert leaves its setting as it was.
  if (auto enabled = PropertyToBoolean(bag.ReadProperty(kEnabledKey, true))) {
    button_enabled_ = *enabled ? kTrue : kFalse;
  }
  if (auto caption = PropertyToText(bag.ReadProperty(kCaptionKey, kCaptionReadDefault))) {
    label_.SetCaption(*caption);
  }
  // Only the face name of the stored font is taken; size, weight and style stay.
  const PropertyValue stored_font = bag.ReadProperty(kFontKey, host_.AmbientFont());
  if (const auto* font = std::get_if<FontDescription>(&stored_font)) {
    FontDescription current = label_.Font();
    current.face_name = font->face_name;
    label_.SetFont(current);
  }
  if (auto first_run = PropertyToByte(bag.ReadProperty(kFirstRunKey, std::string("1")))) {
    first_run_ = *first_run;
  }
  if (auto colour = PropertyToInt32(bag.ReadProperty(kFontColourKey, std::string("0")))) {
    label_.SetForeColour(static_cast<std::uint32_t>(*colour));
  }
  if (auto style = PropertyToInt16(bag.ReadProperty(kVisibleKey, std::string("1")))) {
    surface_.SetBackStyle(*style);
  }
  ApplyLook();
}

void Command::UserControl_WriteProperties(PropertyBag& bag) {
  bag.WriteProperty(kEnabledKey, button_enabled_ != kFalse, true);
  bag.WriteProperty(kCaptionKey, label_.Caption(), std::string(kCaptionWriteDefault));
  bag.WriteProperty(kFirstRunKey, static_cast<double>(first_run_), std::string("1"));
  bag.WriteProperty(kFontKey, label_.Font(), host_.AmbientFont());
  bag.WriteProperty(kFontColourKey,
                    static_cast<double>(static_cast<std::int32_t>(label_.ForeColour())),
                    std::string("0"));
  bag.WriteProperty(kVisibleKey, static_cast<double>(surface_.GetBackStyle()), std::string("1"));
  ApplyLook();
}

void Command::UserControl_Resize() { ApplyEnabled(); }

void Command::FirstRunStep() {
  if (first_run_ != 0) return;
  ApplyLook();
  first_run_ = 1;
  button_enabled_ = kTrue;
}

void Command::ApplyEnabled() {
  if (button_enabled_ != kFalse) {
    DrawState(Skin::kNormal);
    label_.SetEnabled(true);
  } else {
    DrawState(Skin::kDisable);
    label_.SetEnabled(false);
  }
}

void Command::ApplyLook() {
  if (button_enabled_ == kFalse) return;
  // A failing step makes the caption black and the next step runs.
  if (!label_.SetEnabled(true)) label_.SetForeColour(0);
  if (first_run_ == 0) label_.SetForeColour(0);
  DrawState(Skin::kNormal);
}

void Command::DrawState(Skin skin) {
  if (state_ == kStateNormal) reverse_gradient_ = kFalse;
  if (state_ == kStateHighLight) reverse_gradient_ = kTrue;
  if (state_ == kStateSelected) reverse_gradient_ = kFalse;

  const double width = surface_.WidthTwips();
  const double height = surface_.HeightTwips();
  StoreIfFits(layout_.edge_width, width - 2 * kCorner);
  StoreIfFits(layout_.edge_height, height - 2 * kCorner);
  StoreIfFits(layout_.right, width - kCorner);
  StoreIfFits(layout_.bottom, height - kCorner);

  surface_.Clear();
  FillGradient();

  const Picture& picture = skins_[static_cast<int>(skin)];
  if (!picture.rgb.empty()) {
    const double ew = layout_.edge_width;
    const double eh = layout_.edge_height;
    const double right = layout_.right;
    const double bottom = layout_.bottom;
    const PicturePlacement patches[] = {
        {1, 1, kCorner, kCorner, 0, 0, kCorner, kCorner},                         // top left
        {kCorner, 1, ew, kCorner, kCorner, 1, kSourceEdgeWidth, kCorner},         // top
        {right, 1, kCorner, kCorner, 900, 1, kCorner, kCorner},                   // top right
        {right, kCorner, kCorner, eh, 900, kCorner, kCorner, kSourceEdgeHeight},  // right
        {right, bottom, kCorner, kCorner, 900, 315, kCorner, kCorner},            // bottom right
        {kCorner, bottom, ew, kCorner, kCorner, 315, kSourceEdgeWidth, kCorner},  // bottom
        {1, bottom, kCorner, kCorner, 0, 315, kCorner, kCorner},                  // bottom left
        {1, kCorner, kCorner, eh, 1, kCorner, kCorner, kSourceEdgeHeight},        // left
    };
    for (const PicturePlacement& patch : patches) {
      // A control under 8 pixels has edges of no or negative length: nothing to stretch.
      if (patch.width <= 0 || patch.height <= 0) continue;
      surface_.DrawPicture(picture, patch);
    }
  }
  surface_.Present();

  // The caption box sits centred 10 twips above the middle; it keeps its height.
  label_.SetTop((height - label_.Height() - 20) / 2);
  label_.SetLeft(0);
  label_.SetWidth(width);
}

void Command::FillGradient() {
  const Rgb top = reverse_gradient_ == kFalse ? kGradientWhite : kGradientLavender;
  const Rgb bottom = reverse_gradient_ == kFalse ? kGradientLavender : kGradientWhite;
  surface_.SetScaleMode(ScaleMode::kPixels);
  vertices_[0].x = 0;
  vertices_[0].y = 0;
  SetColour(vertices_[0], top);
  if (auto x = ToInt32(surface_.ScaleWidth() - 1)) vertices_[1].x = *x;
  if (auto y = ToInt32(surface_.ScaleHeight() - 1)) vertices_[1].y = *y;
  SetColour(vertices_[1], bottom);
  // The rectangle names vertex 1 as its upper left: the fill follows the vertex positions, so
  // vertex 0's colour is still on top. The far end is exclusive.
  gradient_rect_.upper_left = 1;
  gradient_rect_.lower_right = 0;
  surface_.FillGradient(vertices_.data(), 4, &gradient_rect_, 1, /*vertical=*/true);
  surface_.SetScaleMode(ScaleMode::kTwips);
  surface_.Present();
}

void Command::UserControl_MouseMove(std::int16_t button, std::int16_t shift, double x, double y) {
  if (button_enabled_ == kFalse) return;
  if (state_ == kStateNormal) {
    state_ = kStateHighLight;
    DrawState(Skin::kHighLight);
  }
  if (state_ == kStateSelected && mouse_is_down_ == kFalse) {
    state_ = kStateHighLightSelect;
    DrawState(Skin::kHighLightSelect);
  }
}

void Command::UserControl_MouseDown(std::int16_t button, std::int16_t shift, double x, double y) {
  if (button_enabled_ == kFalse) return;
  if (button == kLeftButton) {
    DrawState(Skin::kPressed);
    mouse_is_down_ = kTrue;
  }
}

void Command::UserControl_MouseUp(std::int16_t button, std::int16_t shift, double x, double y) {
  if (button_enabled_ == kFalse) return;
  if (button == kLeftButton) {
    mouse_is_down_ = kFalse;
    if (state_ == kStateHighLight) DrawState(Skin::kNormal);
    if (state_ == kStateHighLightSelect) DrawState(Skin::kHighLightSelect);
  }
  // Any button's release clicks; a focused button the pointer has left does not.
  if (state_ != kStateSelected && button_enabled_ == kTrue) RaiseClick();
}

void Command::LblMsg_MouseDown(std::int16_t button, std::int16_t shift, double x, double y) {
  UserControl_MouseDown(button, shift, x, y);
}
void Command::LblMsg_MouseMove(std::int16_t button, std::int16_t shift, double x, double y) {
  UserControl_MouseMove(button, shift, x, y);
}
void Command::LblMsg_MouseUp(std::int16_t button, std::int16_t shift, double x, double y) {
  UserControl_MouseUp(button, shift, x, y);
}

void Command::UserControl_GotFocus() {
  if (button_enabled_ == kFalse) return;
  if (state_ != kStateHighLight) {
    state_ = kStateSelected;
    DrawState(Skin::kSelected);
  } else {
    state_ = kStateHighLightSelect;
    DrawState(Skin::kPressed);
  }
}

void Command::UserControl_LostFocus() {
  if (button_enabled_ == kFalse) return;
  if (state_ != kStateNormal) {
    state_ = kStateNormal;
    DrawState(Skin::kNormal);
  }
}

void Command::PointerLeft() {
  if (button_enabled_ == kFalse) return;
  if (state_ == kStateHighLight) {
    state_ = kStateNormal;
    DrawState(Skin::kNormal);
  }
  if (state_ == kStateHighLightSelect) {
    state_ = kStateSelected;
    DrawState(Skin::kSelected);
  }
}

void Command::TmrMouse_Timer() {
  // A failed read leaves the point at the origin, as the zeroed record would be.
  const PixelPoint point = pointer_.CursorPosition().value_or(PixelPoint{});
  const WindowHandle under = pointer_.WindowAt(point);
  const WindowHandle container = host_.ContainerWindow();
  // Over the container's own area, or over any window but this control's: the pointer has left.
  const bool over_container = under == container;
  const bool elsewhere = under != host_.ControlWindow() && under != container;
  if (over_container || elsewhere) PointerLeft();
}

void Command::RaiseClick() {
  // A copy: the container's handler may destroy this control.
  auto handler = click_;
  if (handler) handler();
}

}  // namespace tolvenar
