#pragma once
// Recording fakes of the services a user control stands on: host and timer (the surface's, the
// label's and the pointer's are in the runtime fakes). Every call that changes something is logged
// in one shared log.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "button/command.h"
#include "fakes/fake_runtime.h"
#include "runtime/label.h"
#include "runtime/user_control.h"

namespace tolvenar::testing {

// The skins' names, as the fake surface logs a marked skin it draws.
inline std::vector<std::string> SkinNames() {
  return {"Normal", "HighLight", "HighLightSelect", "Selected", "Pressed", "Disable"};
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
    surface.picture_names = SkinNames();
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
