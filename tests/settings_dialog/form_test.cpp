#include "settings_dialog/form.h"

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "fakes/fake_dialog.h"

namespace tolvenar {
namespace {

using testing::CallLog;
using V = std::vector<std::string>;

std::string PlaceText(FormSurface on, const dialog_layout::Place& p) {
  return std::string(on == FormSurface::kPanel ? "panel " : "window ") + std::to_string(p.left) +
         "," + std::to_string(p.top) + " " + std::to_string(p.width) + "x" +
         std::to_string(p.height);
}

const char* LookName(TextLook look) {
  switch (look) {
    case TextLook::kLine:
      return "line";
    case TextLook::kCentred:
      return "centred";
    case TextLook::kLink:
      return "link";
    case TextLook::kFileName:
      return "file name";
  }
  return "?";
}

// Makes each element as a fake and writes it down as a line, with what its pointer does.
class RecordingCanvas : public FormCanvas {
 public:
  explicit RecordingCanvas(CallLog& log) : log_(log) {}
  RuledSurface& Surface(FormSurface on) override {
    return on == FormSurface::kPanel ? panel : window;
  }
  void AddOutline(FormSurface on, const dialog_layout::Place& place) override {
    log_.push_back("outline " + PlaceText(on, place));
  }
  Label& AddText(FormSurface on, const dialog_layout::Place& place, std::string_view caption,
                 Colour colour, TextLook look, WindowlessElements::Element pointer) override {
    log_.push_back("text " + PlaceText(on, place) + " \"" + std::string(caption) + "\" " +
                   LookName(look) + (colour == dialog_layout::kWhite ? " white" : " black") +
                   (pointer.fits_text ? " fits" : "") + (pointer.hand_pointer ? " hand" : "") +
                   Handlers(pointer.on_press, pointer.on_click));
    return labels.emplace_back(log_);
  }
  ImageControl& AddImage(FormSurface on, const dialog_layout::Place& place,
                         std::function<void()> on_press) override {
    log_.push_back("image " + PlaceText(on, place) + Handlers(on_press, nullptr));
    return images.emplace_back(log_, "image");
  }
  EditableComboBox* AddComboBox(FormSurface on, const dialog_layout::Place& place) override {
    log_.push_back("combo box " + PlaceText(on, place));
    return combo_fails ? nullptr : &combo_boxes.emplace_back(log_, "combo");
  }
  CommandControl* AddButton(FormSurface on, const dialog_layout::Place& place,
                            std::string_view caption, std::function<void()> on_click) override {
    log_.push_back("button " + PlaceText(on, place) + " \"" + std::string(caption) + "\"" +
                   Handlers(nullptr, on_click));
    return &buttons.emplace_back(log_, std::string(caption));
  }

  testing::FakeSurface window{7440, 3645}, panel{7035, 2475};
  std::deque<testing::FakeLabel> labels;
  std::deque<testing::FakeImage> images;
  std::deque<testing::FakeComboBox> combo_boxes;
  std::deque<testing::FakeButton> buttons;
  bool combo_fails = false;

 private:
  static std::string Handlers(const std::function<void()>& press,
                              const std::function<void()>& click) {
    return std::string(press ? " press" : "") + (click ? " click" : "");
  }
  CallLog& log_;
};

// The handler of the dialog each element of the description drives.
std::string HandlerName(const FormElement& element) {
  const struct {
    FormElement::PressHandler handler;
    const char* name;
  } presses[] = {{&SettingsDialog::Img_BGM_MouseDown, "Img_BGM_MouseDown"},
                 {&SettingsDialog::lbl_BGM_MouseDown, "lbl_BGM_MouseDown"}};
  const struct {
    FormElement::ClickHandler handler;
    const char* name;
  } clicks[] = {{&SettingsDialog::Cmd_Set_Click, "Cmd_Set_Click"},
                {&SettingsDialog::Cmd_Can_Click, "Cmd_Can_Click"},
                {&SettingsDialog::Cmd_File_Click, "Cmd_File_Click"},
                {&SettingsDialog::lbl_URL_Click, "lbl_URL_Click"}};
  std::string name;
  for (const auto& p : presses) {
    if (element.on_press == p.handler)
      name += std::string(p.name) + "(" + std::to_string(element.index) + ")";
  }
  for (const auto& c : clicks) {
    if (element.on_click == c.handler) name += c.name;
  }
  return name.empty() ? "-" : name;
}

TEST(SettingsForm, EachElementDrivesItsOwnHandler) {
  V handlers;
  for (const FormElement& element : kSettingsForm) handlers.push_back(HandlerName(element));
  const V expected = {"-",
                      "-",
                      "Img_BGM_MouseDown(0)",
                      "lbl_BGM_MouseDown(0)",
                      "Img_BGM_MouseDown(1)",
                      "lbl_BGM_MouseDown(1)",
                      "Img_BGM_MouseDown(2)",
                      "lbl_BGM_MouseDown(2)",
                      "-",
                      "-",
                      "-",
                      "Cmd_File_Click",
                      "Cmd_Set_Click",
                      "Cmd_Can_Click",
                      "-",
                      "lbl_URL_Click"};
  EXPECT_EQ(handlers, expected);
}

// The order is the tab order of the controls and, on a surface, the order in which windowless
// elements are hit-tested and painted.
TEST(SettingsForm, RealisesEveryElementInOrderInItsPlace) {
  CallLog log;
  RecordingCanvas canvas(log);
  testing::FakeModalWindow window(log);
  const std::unique_ptr<SettingsDialog> dialog;
  const std::optional<SettingsDialogControls> controls =
      RealiseSettingsForm(canvas, window, dialog);
  const V expected = {
      "outline panel 300,300 1695x315",
      "text panel 300,360 1665x195 \"BGM\" centred black",
      "image panel 420,1140 195x195 press",
      "text panel 660,1140 330x195 \"なし\" line black fits press",
      "image panel 420,840 195x195 press",
      "text panel 660,840 645x195 \"音楽CD\" line black fits press",
      "image panel 420,1440 195x195 press",
      "text panel 660,1440 900x195 \"MP3、WAV\" line black fits press",
      "combo box panel 1680,780 615x300",
      "text panel 2340,840 990x195 \"曲目をﾘﾋﾟｰﾄ\" line black fits",
      "text panel 1080,1740 5595x495 \"\" file name black",
      "button panel 600,1740 435x375 \"...\" click",
      "button window 4860,2940 1155x375 \"設定\" click",
      "button window 6060,2940 1155x375 \"ｷｬﾝｾﾙ\" click",
      "text window 180,2880 2475x195 \"Design: Tolvenar Project  Ver.1.0.0\" line white fits",
      "text window 180,3120 3105x195 \"http://www.example.org/tolvenar/\" link white fits hand "
      "click",
  };
  EXPECT_EQ(log, expected);

  ASSERT_TRUE(controls);
  EXPECT_EQ(&controls->window, &window);
  EXPECT_EQ(&controls->window_surface, &canvas.window);
  EXPECT_EQ(&controls->panel_surface, &canvas.panel);
  EXPECT_EQ(&controls->Cmd_File, &canvas.buttons[0]);
  EXPECT_EQ(&controls->Cmd_Set, &canvas.buttons[1]);
  EXPECT_EQ(&controls->Cmd_Can, &canvas.buttons[2]);
  EXPECT_EQ(&controls->BGM_Repeat, &canvas.combo_boxes[0]);
  for (std::size_t kind = 0; kind < 3; ++kind) {
    EXPECT_EQ(controls->Img_BGM[kind], &canvas.images[kind]) << kind;
  }
  EXPECT_EQ(&controls->lbl_Fname, &canvas.labels[5]);
  EXPECT_EQ(&controls->lbl_URL, &canvas.labels[7]);
}

TEST(SettingsForm, AControlThatCannotBeMadeStopsTheForm) {
  CallLog log;
  RecordingCanvas canvas(log);
  canvas.combo_fails = true;
  testing::FakeModalWindow window(log);
  const std::unique_ptr<SettingsDialog> dialog;
  EXPECT_FALSE(RealiseSettingsForm(canvas, window, dialog));
  EXPECT_EQ(log.back(), "combo box panel 1680,780 615x300");
}

}  // namespace
}  // namespace tolvenar
