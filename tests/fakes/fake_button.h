#pragma once
// Recording fakes of the services a user control stands on: surface, host, timer (the label's
// and the pointer's are in the runtime fakes). Every call that changes something is logged in one
// shared log.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "button/command.h"
#include "fakes/fake_runtime.h"
#include "runtime/label.h"
#include "runtime/drawing_surface.h"
#include "runtime/user_control.h"

namespace tolvenar::testing {

inline const char* SkinName(int index) {
  static const char* const names[] = {"Normal",   "HighLight", "HighLightSelect",
                                      "Selected", "Pressed",   "Disable"};
  return index >= 0 && index < kSkinCount ? names[index] : "?";
}

// Six 64 x 25 skins whose first byte tells which is which.
inline SkinSet MarkedSkins() {
  SkinSet skins;
  for (int i = 0; i < kSkinCount; ++i) {
    skins[i].width = 64;
    skins[i].height = 25;
    skins[i].rgb.assign(64 * 25 * 3, 0);
    skins[i].rgb[0] = static_cast<std::uint8_t>(i);
  }
  return skins;
}

inline std::string Number(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%g", value);
  return buffer;
}

class FakeSurface : public DrawingSurface {
 public:
  explicit FakeSurface(CallLog& log) : log_(log) {}
  double WidthTwips() override { return width_twips; }
  double HeightTwips() override { return height_twips; }
  bool Clear() override {
    log_.push_back("Clear");
    return true;
  }
  bool SetScaleMode(ScaleMode mode) override {
    log_.push_back("Scale " + std::to_string(static_cast<int>(mode)));
    scale_mode = mode;
    return true;
  }
  double ScaleWidth() override {
    return scale_mode == ScaleMode::kPixels ? width_twips / 15 : width_twips;
  }
  double ScaleHeight() override {
    return scale_mode == ScaleMode::kPixels ? height_twips / 15 : height_twips;
  }
  bool FillGradient(const TriVertex* vertices, std::uint32_t vertex_count,
                    const GradientRectangle* rectangles, std::uint32_t rectangle_count,
                    bool vertical) override {
    const TriVertex& top = vertices[0];
    const TriVertex& bottom = vertices[1];
    gradient_tops.push_back(
        ColourHex((top.red >> 8) << 16 | (top.green >> 8) << 8 | top.blue >> 8));
    log_.push_back(
        "Gradient " + gradient_tops.back() + " to " +
        ColourHex((bottom.red >> 8) << 16 | (bottom.green >> 8) << 8 | bottom.blue >> 8) + " at " +
        std::to_string(bottom.x) + "," + std::to_string(bottom.y) + " n" +
        std::to_string(vertex_count) + " rect " + std::to_string(rectangles[0].upper_left) + "," +
        std::to_string(rectangles[0].lower_right) + " n" + std::to_string(rectangle_count) +
        (vertical ? " V" : " H"));
    return true;
  }
  bool DrawPicture(const Picture& picture, const PicturePlacement& p) override {
    log_.push_back(std::string("Draw ") + SkinName(picture.rgb[0]) + " " + Number(p.x) + "," +
                   Number(p.y) + " " + Number(p.width) + "x" + Number(p.height) + " <- " +
                   Number(p.source_x) + "," + Number(p.source_y) + " " + Number(p.source_width) +
                   "x" + Number(p.source_height));
    return true;
  }
  bool Present() override {
    log_.push_back("Present");
    return true;
  }
  BackStyle GetBackStyle() override { return back_style; }
  bool SetBackStyle(std::int16_t style) override {
    log_.push_back("BackStyle " + std::to_string(style));
    if (style != 0 && style != 1) return false;
    back_style = static_cast<BackStyle>(style);
    return true;
  }

  double width_twips = 1755;
  double height_twips = 420;
  ScaleMode scale_mode = ScaleMode::kTwips;
  BackStyle back_style = BackStyle::kOpaque;
  std::vector<std::string> gradient_tops;  // RRGGBB at the top of each fill

 private:
  CallLog& log_;
};

class FakeTimer : public IntervalTimer {
 public:
  explicit FakeTimer(CallLog& log) : log_(log) {}
  void SetEnabled(bool value) override {
    log_.push_back(std::string("TimerEnabled ") + (value ? "1" : "0"));
    enabled = value;
  }
  void SetInterval(std::uint32_t ms) override {
    log_.push_back("TimerInterval " + std::to_string(ms));
    interval = ms;
  }
  bool enabled = false;
  std::uint32_t interval = 0;

 private:
  CallLog& log_;
};

class FakeHost : public ControlHost {
 public:
  explicit FakeHost(CallLog& log) : log_(log) {}
  void PropertyChanged(const std::string& name) override {
    log_.push_back("PropertyChanged " + name);
  }
  FontDescription AmbientFont() override { return ambient_font; }
  WindowHandle ContainerWindow() override { return container; }
  WindowHandle ControlWindow() override { return control; }

  FontDescription ambient_font = [] {
    FontDescription f;
    f.face_name = "Ambient Face";
    f.size_points = 9;
    f.weight = 400;
    f.charset = 128;
    return f;
  }();
  WindowHandle container = 100;
  WindowHandle control = 200;

 private:
  CallLog& log_;
};

// A control with all its fakes; `log` sees every call.
struct ButtonRig {
  CallLog log;
  FakeSurface surface{log};
  FakeLabel label{log};
  FakeTimer timer{log};
  FakePointer pointer;
  FakeHost host{log};
  Command command{surface, label, timer, pointer, host, MarkedSkins()};
  int clicks = 0;

  ButtonRig() {
    command.SetClickHandler([this] {
      ++clicks;
      log.push_back("Click");
    });
    log.clear();
  }

  // The skin of each paint since the log was last cleared.
  std::vector<std::string> PaintedSkins() const {
    std::vector<std::string> skins;
    bool in_paint = false;
    for (const std::string& entry : log) {
      if (entry == "Clear") in_paint = true;
      if (in_paint && entry.rfind("Draw ", 0) == 0) {
        skins.push_back(entry.substr(5, entry.find(' ', 5) - 5));
        in_paint = false;
      }
    }
    return skins;
  }
};

}  // namespace tolvenar::testing
