#pragma once
// Recording fakes of the controls and user services a dialog works with; every call goes into the
// shared call log, so tests can pin the order of steps.
#include <optional>
#include <string>
#include <vector>

#include "fakes/fake_runtime.h"
#include "runtime/user_services.h"
#include "settings_dialog/controls.h"
#include "settings_dialog/settings_dialog.h"
#include "settings_dialog/zoom.h"

namespace tolvenar::testing {

class FakeModalWindow : public ModalWindow {
 public:
  explicit FakeModalWindow(CallLog& log) : log_(log) {}
  WindowHandle Handle() override { return handle; }
  double WidthTwips() override { return width; }
  double HeightTwips() override { return height; }
  void MoveTo(std::int32_t left_twips, std::int32_t top_twips) override {
    log_.push_back("MoveTo " + std::to_string(left_twips) + "," + std::to_string(top_twips));
  }
  void Close() override { log_.push_back("Close"); }
  void LayOutAt(double tpp_x, double tpp_y, const PixelRect& r) override {
    log_.push_back("LayOutAt " + std::to_string(tpp_x) + "," + std::to_string(tpp_y) + " (" +
                   std::to_string(r.left) + "," + std::to_string(r.top) + "," +
                   std::to_string(r.right) + "," + std::to_string(r.bottom) + ")");
  }

  WindowHandle handle = 0x1234;
  double width = 7530;
  double height = 4020;

 private:
  CallLog& log_;
};

class FakeImage : public ImageControl {
 public:
  FakeImage(CallLog& log, std::string name) : log_(log), name_(std::move(name)) {}
  void SetPicture(std::string_view picture_name) override {
    log_.push_back(name_ + ".Picture=" + std::string(picture_name));
    picture = std::string(picture_name);
  }
  std::string picture;  // empty until one is assigned

 private:
  CallLog& log_;
  std::string name_;
};

class FakeButton : public CommandControl {
 public:
  FakeButton(CallLog& log, std::string name) : log_(log), name_(std::move(name)) {}
  void Initialize() override { log_.push_back(name_ + ".Initialize"); }
  void SetEnabled(bool on) override {
    log_.push_back(name_ + ".Enabled=" + (on ? "1" : "0"));
    enabled = on;
  }
  bool enabled = true;

 private:
  CallLog& log_;
  std::string name_;
};

class FakeComboBox : public EditableComboBox {
 public:
  FakeComboBox(CallLog& log, std::string name) : log_(log), name_(std::move(name)) {}
  void SetEnabled(bool on) override {
    log_.push_back(name_ + ".Enabled=" + (on ? "1" : "0"));
    enabled = on;
  }
  std::string Text() override { return text; }
  void SetText(const std::string& value) override {
    log_.push_back(name_ + ".Text=" + value);
    text = value;
  }
  void AddItem(const std::string& item) override { items.push_back(item); }

  bool enabled = true;
  std::string text;
  std::vector<std::string> items;

 private:
  CallLog& log_;
  std::string name_;
};

class FakeScreen : public ScreenMetrics {
 public:
  double TwipsPerPixelX() override { return 15; }
  double TwipsPerPixelY() override { return 15; }
  double WidthTwips() override { return width; }
  double HeightTwips() override { return height; }
  double width = 15360;
  double height = 11520;
};

class FakeFileChooser : public FileChooser {
 public:
  explicit FakeFileChooser(CallLog& log) : log_(log) {}
  FileChoice OpenFileName(const OpenFileRequest& r) override {
    log_.push_back("GetOpenFileName");
    requests.push_back(r);
    if (name_not_held) return {ChoiceOutcome::kNameNotHeld, ""};
    if (!answer) return {};
    return {ChoiceOutcome::kChosen, *answer};
  }
  void ShowRefusal(WindowHandle owner, const std::string& message) override {
    log_.push_back("Refusal " + std::to_string(owner) + " " + message);
  }
  std::vector<OpenFileRequest> requests;
  std::optional<std::string> answer;  // nullopt: cancelled
  bool name_not_held = false;         // wins over the answer

 private:
  CallLog& log_;
};

class FakeShell : public Shell {
 public:
  explicit FakeShell(CallLog& log) : log_(log) {}
  void Execute(WindowHandle owner, const std::string& operation, const std::string& file,
               const std::string& parameters, const std::string& directory,
               std::int32_t show_command) override {
    log_.push_back("ShellExecute " + std::to_string(owner) + " " + operation + " " + file + " [" +
                   parameters + "] [" + directory + "] " + std::to_string(show_command));
  }

 private:
  CallLog& log_;
};

class FakeAnimation : public WindowAnimation {
 public:
  explicit FakeAnimation(CallLog& log) : log_(log) {}
  PixelRect WindowRect(WindowHandle window) override {
    log_.push_back("GetWindowRect " + std::to_string(window));
    return rect;
  }
  void AnimateRects(WindowHandle window, std::int32_t animation, const PixelRect& from,
                    const PixelRect& to) override {
    log_.push_back("DrawAnimatedRects " + std::to_string(window) + " " + std::to_string(animation) +
                   " " + Text(from) + " -> " + Text(to));
  }
  static std::string Text(const PixelRect& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
  }
  PixelRect rect{261, 166, 763, 434};

 private:
  CallLog& log_;
};

}  // namespace tolvenar::testing
