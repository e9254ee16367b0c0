// Painting: the order of the steps, the eight patches, the gradient records and the caption box.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_button.h"

namespace tolvenar::testing {
namespace {

// A loaded, enabled button of the given size in twips; the log then holds one Normal paint.
void LoadAndPaint(ButtonRig& rig, double width, double height) {
  rig.surface.width_twips = width;
  rig.surface.height_twips = height;
  MemoryPropertyBag bag;
  rig.command.UserControl_ReadProperties(bag);
  rig.log.clear();
  rig.command.UserControl_Resize();
}

CallLog Draws(const CallLog& log) {
  CallLog draws;
  for (const auto& entry : log)
    if (entry.rfind("Draw ", 0) == 0) draws.push_back(entry);
  return draws;
}

TEST(CommandPainting, DesignSizeStepsInOrder) {
  ButtonRig rig;
  LoadAndPaint(rig, 1755, 420);
  const CallLog expected = {
      "Clear",
      "Scale 3",
      "Gradient FFFFFF to C6C5D7 at 116,27 n4 rect 1,0 n1 V",
      "Scale 1",
      "Present",
      "Draw Normal 1,1 60x60 <- 0,0 60x60",
      "Draw Normal 60,1 1635x60 <- 60,1 840x60",
      "Draw Normal 1695,1 60x60 <- 900,1 60x60",
      "Draw Normal 1695,60 60x300 <- 900,60 60x255",
      "Draw Normal 1695,360 60x60 <- 900,315 60x60",
      "Draw Normal 60,360 1635x60 <- 60,315 840x60",
      "Draw Normal 1,360 60x60 <- 0,315 60x60",
      "Draw Normal 1,60 60x300 <- 1,60 60x255",
      "Present",
      "LabelEnabled 1",
  };
  EXPECT_EQ(rig.log, expected);
  // (420 - 195 - 20) / 2
  EXPECT_DOUBLE_EQ(rig.label.top, 102.5);
  EXPECT_EQ(rig.label.left, 0);
  EXPECT_EQ(rig.label.width, 1755);
  EXPECT_EQ(rig.label.height, 195);
}

struct SizeRow {
  const char* what;
  double width, height;
  PatchLayout layout;
  double label_top;
  std::string top_edge, right_edge;
};

TEST(CommandPainting, PatchesAndCaptionForOtherSizes) {
  const SizeRow rows[] = {
      {"skin size: nothing stretched",
       960,
       375,
       {840, 255, 900, 315},
       80,
       "Draw Normal 60,1 840x60 <- 60,1 840x60",
       "Draw Normal 900,60 60x255 <- 900,60 60x255"},
      {"77 x 25 pixels: only top and bottom stretched",
       1155,
       375,
       {1035, 255, 1095, 315},
       80,
       "Draw Normal 60,1 1035x60 <- 60,1 840x60",
       "Draw Normal 1095,60 60x255 <- 900,60 60x255"},
      {"dialog button 75 x 25",
       1125,
       375,
       {1005, 255, 1065, 315},
       80,
       "Draw Normal 60,1 1005x60 <- 60,1 840x60",
       "Draw Normal 1065,60 60x255 <- 900,60 60x255"},
      {"a fractional size rounds",
       1000.5,
       400.5,
       {880, 280, 940, 340},
       92.75,
       "Draw Normal 60,1 880x60 <- 60,1 840x60",
       "Draw Normal 940,60 60x280 <- 900,60 60x255"},
  };
  for (const SizeRow& row : rows) {
    SCOPED_TRACE(row.what);
    ButtonRig rig;
    LoadAndPaint(rig, row.width, row.height);
    const PatchLayout& layout = rig.command.Layout();
    EXPECT_EQ(layout.edge_width, row.layout.edge_width);
    EXPECT_EQ(layout.edge_height, row.layout.edge_height);
    EXPECT_EQ(layout.right, row.layout.right);
    EXPECT_EQ(layout.bottom, row.layout.bottom);
    EXPECT_DOUBLE_EQ(rig.label.top, row.label_top);
    EXPECT_EQ(rig.label.width, row.width);
    const CallLog draws = Draws(rig.log);
    ASSERT_EQ(draws.size(), 8u);
    EXPECT_EQ(draws[1], row.top_edge);
    EXPECT_EQ(draws[3], row.right_edge);
  }
}

TEST(CommandPainting, LayoutThatOverflows16BitsKeepsThePreviousValues) {
  ButtonRig rig;
  LoadAndPaint(rig, 40000, 420);  // first paint: the width-based values stay 0
  EXPECT_EQ(rig.command.Layout().edge_width, 0);
  EXPECT_EQ(rig.command.Layout().right, 0);
  EXPECT_EQ(rig.command.Layout().edge_height, 300);
  rig.surface.width_twips = 1755;
  rig.command.UserControl_Resize();
  rig.surface.width_twips = 32850;  // W - 120 fits, W - 60 does not
  rig.log.clear();
  rig.command.UserControl_Resize();
  EXPECT_EQ(rig.command.Layout().edge_width, 32730);
  EXPECT_EQ(rig.command.Layout().right, 1695);
  EXPECT_EQ(Draws(rig.log)[2], "Draw Normal 1695,1 60x60 <- 900,1 60x60");
}

TEST(CommandPainting, TinyControlDrawsNoEmptyOrMirroredEdges) {
  ButtonRig rig;
  LoadAndPaint(rig, 105, 105);  // 7 x 7 pixels: edges of -15 twips
  const CallLog draws = Draws(rig.log);
  EXPECT_EQ(draws.size(), 4u);  // the corners only
}

TEST(CommandPainting, GradientRecordsAndVertexValues) {
  ButtonRig rig;
  LoadAndPaint(rig, 1755, 420);
  const auto& v = rig.command.Vertices();
  EXPECT_EQ(v[0].x, 0);
  EXPECT_EQ(v[0].y, 0);
  EXPECT_EQ(v[0].red, 0xFF00);
  EXPECT_EQ(v[0].green, 0xFF00);
  EXPECT_EQ(v[0].blue, 0xFF00);
  EXPECT_EQ(v[0].alpha, 0);
  EXPECT_EQ(v[1].x, 116);
  EXPECT_EQ(v[1].y, 27);
  EXPECT_EQ(v[1].red, 0xC600);
  EXPECT_EQ(v[1].green, 0xC500);
  EXPECT_EQ(v[1].blue, 0xD700);
  for (int i = 2; i < 4; ++i) {
    EXPECT_EQ(v[i].x, 0);
    EXPECT_EQ(v[i].red, 0);
  }
  EXPECT_EQ(rig.command.GradientRect().upper_left, 1u);
  EXPECT_EQ(rig.command.GradientRect().lower_right, 0u);
}

TEST(CommandPainting, GradientFollowsStateNotTheSkin) {
  struct Row {
    const char* what;
    std::vector<const char*> steps;  // m move, f focus, d left down, t tick away, l lost focus
    std::string top;
  };
  const Row rows[] = {
      {"Normal", {}, "FFFFFF"},
      {"HighLight", {"m"}, "C6C5D7"},
      {"Pressed over HighLight", {"m", "d"}, "C6C5D7"},
      {"Selected", {"f"}, "FFFFFF"},
      {"Pressed over Selected", {"f", "d"}, "FFFFFF"},
      {"HighLightSelect entered from Selected", {"f", "m"}, "FFFFFF"},
      {"HighLightSelect entered from HighLight", {"m", "f"}, "C6C5D7"},
      {"Selected again after leaving", {"m", "f", "t"}, "FFFFFF"},
      {"Disable over HighLight", {"m", "x"}, "C6C5D7"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    ButtonRig rig;
    LoadAndPaint(rig, 1755, 420);
    rig.command.Initialize();
    for (const char* step : row.steps) {
      switch (step[0]) {
        case 'm':
          rig.command.UserControl_MouseMove(0, 0, 1, 1);
          break;
        case 'f':
          rig.command.UserControl_GotFocus();
          break;
        case 'd':
          rig.command.UserControl_MouseDown(kLeftButton, 0, 1, 1);
          break;
        case 't':
          rig.pointer.window_under = 0;
          rig.command.TmrMouse_Timer();
          break;
        case 'x':
          rig.command.SetEnabled(kFalse);
          break;
      }
    }
    EXPECT_EQ(rig.surface.gradient_tops.back(), row.top);
  }
}

TEST(CommandPainting, BeforeInitializeTheGradientIsWhite) {
  ButtonRig rig;
  LoadAndPaint(rig, 1755, 420);
  rig.command.UserControl_GotFocus();  // State 0 -> 3
  rig.command.UserControl_LostFocus();
  for (const auto& top : rig.surface.gradient_tops) EXPECT_EQ(top, "FFFFFF");
}

TEST(CommandPainting, MissingSkinLeavesTheGradientAlone) {
  CallLog log;
  FakeSurface surface{log};
  FakeLabel label{log};
  FakeTimer timer{log};
  FakePointer pointer;
  FakeHost host{log};
  SkinSet skins = MarkedSkins();
  skins[static_cast<int>(Skin::kNormal)] = Picture{};
  Command command{surface, label, timer, pointer, host, std::move(skins)};
  MemoryPropertyBag bag;
  command.UserControl_ReadProperties(bag);
  EXPECT_EQ(surface.gradient_tops.size(), 1u);
  EXPECT_TRUE(Draws(log).empty());
}

}  // namespace
}  // namespace tolvenar::testing
