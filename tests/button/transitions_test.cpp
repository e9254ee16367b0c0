// The four looks of the button: the transition table row by row, the pointer polling and the
// sequences a user makes with the mouse.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_button.h"

namespace tolvenar::testing {
namespace {

using Skins = std::vector<std::string>;

enum class Event {
  kMove,
  kLeftDown,
  kRightDown,
  kLeftUp,
  kRightUp,
  kMiddleUp,
  kGotFocus,
  kLostFocus,
  kTickElsewhere,
  kTickOverContainer,
  kTickOverControl,
};

// A loaded, enabled button brought to `state` through the events a user would make.
void BringTo(ButtonRig& rig, int state, bool mouse_down) {
  MemoryPropertyBag bag;
  rig.command.UserControl_ReadProperties(bag);
  if (state != 0) rig.command.Initialize();
  if (state == 2) rig.command.UserControl_MouseMove(0, 0, 5, 5);
  if (state == 3 || state == 4) rig.command.UserControl_GotFocus();
  if (state == 4) rig.command.UserControl_MouseMove(0, 0, 5, 5);
  if (mouse_down) rig.command.UserControl_MouseDown(kLeftButton, 0, 5, 5);
  ASSERT_EQ(rig.command.State(), state);
  rig.log.clear();
}

void Fire(ButtonRig& rig, Event event) {
  Command& c = rig.command;
  switch (event) {
    case Event::kMove:
      c.UserControl_MouseMove(0, 0, 5, 5);
      break;
    case Event::kLeftDown:
      c.UserControl_MouseDown(kLeftButton, 0, 5, 5);
      break;
    case Event::kRightDown:
      c.UserControl_MouseDown(kRightButton, 0, 5, 5);
      break;
    case Event::kLeftUp:
      c.UserControl_MouseUp(kLeftButton, 0, 5, 5);
      break;
    case Event::kRightUp:
      c.UserControl_MouseUp(kRightButton, 0, 5, 5);
      break;
    case Event::kMiddleUp:
      c.UserControl_MouseUp(kMiddleButton, 0, 5, 5);
      break;
    case Event::kGotFocus:
      c.UserControl_GotFocus();
      break;
    case Event::kLostFocus:
      c.UserControl_LostFocus();
      break;
    case Event::kTickElsewhere:
      rig.pointer.window_under = 999;
      c.TmrMouse_Timer();
      break;
    case Event::kTickOverContainer:
      rig.pointer.window_under = rig.host.container;
      c.TmrMouse_Timer();
      break;
    case Event::kTickOverControl:
      rig.pointer.window_under = rig.host.control;
      c.TmrMouse_Timer();
      break;
  }
}

struct TransitionRow {
  const char* what;
  int from;
  bool mouse_down;
  Event event;
  int to;
  Skins painted;
  int clicks;
  bool mouse_down_after;
};

const TransitionRow kRows[] = {
    {"move over Normal", 1, false, Event::kMove, 2, {"HighLight"}, 0, false},
    {"move over Selected", 3, false, Event::kMove, 4, {"HighLightSelect"}, 0, false},
    {"move over Selected, left held", 3, true, Event::kMove, 3, {}, 0, true},
    {"move over HighLight", 2, false, Event::kMove, 2, {}, 0, false},
    {"move over HighLightSelect", 4, false, Event::kMove, 4, {}, 0, false},
    {"move before Initialize", 0, false, Event::kMove, 0, {}, 0, false},
    {"left press on HighLight", 2, false, Event::kLeftDown, 2, {"Pressed"}, 0, true},
    {"left press on Selected", 3, false, Event::kLeftDown, 3, {"Pressed"}, 0, true},
    {"right press paints nothing", 2, false, Event::kRightDown, 2, {}, 0, false},
    {"left release on HighLight", 2, true, Event::kLeftUp, 2, {"Normal"}, 1, false},
    {"left release on HighLightSelect", 4, true, Event::kLeftUp, 4, {"HighLightSelect"}, 1, false},
    {"left release on Selected: no Click", 3, true, Event::kLeftUp, 3, {}, 0, false},
    {"left release on Normal", 1, true, Event::kLeftUp, 1, {}, 1, false},
    {"left release before Initialize", 0, true, Event::kLeftUp, 0, {}, 1, false},
    {"right release on HighLight clicks", 2, false, Event::kRightUp, 2, {}, 1, false},
    {"right release keeps the left held", 2, true, Event::kRightUp, 2, {}, 1, true},
    {"right release on Selected: no Click", 3, false, Event::kRightUp, 3, {}, 0, false},
    {"middle release on Normal clicks", 1, false, Event::kMiddleUp, 1, {}, 1, false},
    {"focus on HighLight", 2, false, Event::kGotFocus, 4, {"Pressed"}, 0, false},
    {"focus on Normal", 1, false, Event::kGotFocus, 3, {"Selected"}, 0, false},
    {"focus before Initialize", 0, false, Event::kGotFocus, 3, {"Selected"}, 0, false},
    {"focus on HighLightSelect", 4, false, Event::kGotFocus, 3, {"Selected"}, 0, false},
    {"focus on Selected", 3, false, Event::kGotFocus, 3, {"Selected"}, 0, false},
    {"focus leaves HighLight", 2, false, Event::kLostFocus, 1, {"Normal"}, 0, false},
    {"focus leaves Selected", 3, false, Event::kLostFocus, 1, {"Normal"}, 0, false},
    {"focus leaves HighLightSelect", 4, false, Event::kLostFocus, 1, {"Normal"}, 0, false},
    {"focus leaves before Initialize", 0, false, Event::kLostFocus, 1, {"Normal"}, 0, false},
    {"focus leaves Normal", 1, false, Event::kLostFocus, 1, {}, 0, false},
    {"tick elsewhere on HighLight", 2, false, Event::kTickElsewhere, 1, {"Normal"}, 0, false},
    {"tick elsewhere on HighLightSelect",
     4,
     false,
     Event::kTickElsewhere,
     3,
     {"Selected"},
     0,
     false},
    {"tick over container on HighLight",
     2,
     false,
     Event::kTickOverContainer,
     1,
     {"Normal"},
     0,
     false},
    {"tick over container on HighLightSelect",
     4,
     true,
     Event::kTickOverContainer,
     3,
     {"Selected"},
     0,
     true},
    {"tick over the control keeps HighLight", 2, false, Event::kTickOverControl, 2, {}, 0, false},
    {"tick elsewhere on Normal", 1, false, Event::kTickElsewhere, 1, {}, 0, false},
    {"tick elsewhere on Selected", 3, false, Event::kTickElsewhere, 3, {}, 0, false},
};

TEST(CommandTransitions, EachRowOfTheTable) {
  for (size_t i = 0; i < std::size(kRows); ++i) {
    const TransitionRow& row = kRows[i];
    SCOPED_TRACE("row " + std::to_string(i) + ": " + row.what);
    ButtonRig rig;
    BringTo(rig, row.from, row.mouse_down);
    Fire(rig, row.event);
    EXPECT_EQ(rig.command.State(), row.to);
    EXPECT_EQ(rig.PaintedSkins(), row.painted);
    EXPECT_EQ(rig.clicks, row.clicks);
    EXPECT_EQ(rig.command.MouseIsDown(), row.mouse_down_after ? kTrue : kFalse);
  }
}

TEST(CommandTransitions, DisabledButtonIgnoresEverythingButTheTimerStillTicks) {
  const Event events[] = {Event::kMove,         Event::kLeftDown, Event::kLeftUp,
                          Event::kRightUp,      Event::kGotFocus, Event::kLostFocus,
                          Event::kTickElsewhere};
  for (int from : {1, 2, 3, 4}) {
    for (bool down : {false, true}) {
      for (Event event : events) {
        SCOPED_TRACE("from " + std::to_string(from) + (down ? " held" : "") + " event " +
                     std::to_string(static_cast<int>(event)));
        ButtonRig rig;
        BringTo(rig, from, down);
        rig.command.SetEnabled(kFalse);
        rig.log.clear();
        Fire(rig, event);
        EXPECT_EQ(rig.command.State(), from);
        EXPECT_TRUE(rig.log.empty()) << rig.log.front();
        EXPECT_EQ(rig.clicks, 0);
        EXPECT_EQ(rig.command.MouseIsDown(), down ? kTrue : kFalse);
        EXPECT_TRUE(rig.timer.enabled);
      }
    }
  }
}

TEST(CommandTransitions, InitializeStartsThePollingAt100Ms) {
  ButtonRig rig;
  EXPECT_EQ(rig.command.State(), 0);
  EXPECT_FALSE(rig.timer.enabled);
  rig.command.Initialize();
  EXPECT_EQ(rig.command.State(), 1);
  // The whole log: the timer's two calls in this order, and no paint.
  EXPECT_EQ(rig.log, (CallLog{"TimerEnabled 1", "TimerInterval 100"}));
}

TEST(CommandTransitions, TickAsksForTheWindowUnderThePointer) {
  ButtonRig rig;
  BringTo(rig, 2, false);
  rig.pointer.position = PixelPoint{321, 654};
  Fire(rig, Event::kTickOverControl);
  ASSERT_EQ(rig.pointer.asked.size(), 1u);
  EXPECT_EQ(rig.pointer.asked[0].x, 321);
  EXPECT_EQ(rig.pointer.asked[0].y, 654);
  // An unreadable pointer asks about the origin and at worst runs the pointer-left step.
  rig.pointer.position.reset();
  rig.pointer.window_under = 0;
  rig.command.TmrMouse_Timer();
  EXPECT_EQ(rig.pointer.asked.back().x, 0);
  EXPECT_EQ(rig.command.State(), 1);
}

struct Step {
  Event event;
  int state;
  Skins painted;
  int clicks;  // total so far
};

void RunSequence(const char* name, int from, const std::vector<Step>& steps) {
  SCOPED_TRACE(name);
  ButtonRig rig;
  BringTo(rig, from, false);
  for (size_t i = 0; i < steps.size(); ++i) {
    SCOPED_TRACE("step " + std::to_string(i));
    rig.log.clear();
    Fire(rig, steps[i].event);
    EXPECT_EQ(rig.command.State(), steps[i].state);
    EXPECT_EQ(rig.PaintedSkins(), steps[i].painted);
    EXPECT_EQ(rig.clicks, steps[i].clicks);
  }
}

TEST(CommandTransitions, UsualClickFocusAfterThePress) {
  RunSequence("usual click", 1,
              {{Event::kMove, 2, {"HighLight"}, 0},
               {Event::kLeftDown, 2, {"Pressed"}, 0},
               {Event::kGotFocus, 4, {"Pressed"}, 0},
               {Event::kLeftUp, 4, {"HighLightSelect"}, 1},
               {Event::kTickElsewhere, 3, {"Selected"}, 1},
               {Event::kLostFocus, 1, {"Normal"}, 1}});
}

TEST(CommandTransitions, UsualClickFocusBeforeThePress) {
  RunSequence("usual click, focus first", 1,
              {{Event::kMove, 2, {"HighLight"}, 0},
               {Event::kGotFocus, 4, {"Pressed"}, 0},
               {Event::kLeftDown, 4, {"Pressed"}, 0},
               {Event::kLeftUp, 4, {"HighLightSelect"}, 1}});
}

TEST(CommandTransitions, DragOffAFocusedButtonRaisesNoClick) {
  RunSequence("drag off focused", 4,
              {{Event::kLeftDown, 4, {"Pressed"}, 0},
               {Event::kTickElsewhere, 3, {"Selected"}, 0},
               {Event::kMove, 3, {}, 0},  // back over it, still held: no pressed look
               {Event::kLeftUp, 3, {}, 0}});
}

TEST(CommandTransitions, DragOffAnUnfocusedButtonStillClicks) {
  RunSequence("drag off unfocused", 2,
              {{Event::kLeftDown, 2, {"Pressed"}, 0},
               {Event::kTickElsewhere, 1, {"Normal"}, 0},
               {Event::kLeftUp, 1, {}, 1}});
}

TEST(CommandTransitions, ClickBeforeAnyMoveWasReported) {
  RunSequence("press first, then focus", 1,
              {{Event::kLeftDown, 1, {"Pressed"}, 0},
               {Event::kGotFocus, 3, {"Selected"}, 0},
               {Event::kLeftUp, 3, {}, 0}});
  RunSequence("focus first, then press", 1,
              {{Event::kGotFocus, 3, {"Selected"}, 0},
               {Event::kLeftDown, 3, {"Pressed"}, 0},
               {Event::kLeftUp, 3, {}, 0},
               {Event::kMove, 4, {"HighLightSelect"}, 0}});
}

TEST(CommandTransitions, WithoutInitializeNoHoverButFocusLooksAndClicks) {
  RunSequence("never initialized", 0,
              {{Event::kMove, 0, {}, 0},
               {Event::kTickElsewhere, 0, {}, 0},
               {Event::kLeftUp, 0, {}, 1},
               {Event::kGotFocus, 3, {"Selected"}, 1},
               {Event::kLeftUp, 3, {}, 1},
               {Event::kLostFocus, 1, {"Normal"}, 1}});
}

TEST(CommandTransitions, CaptionEventsActLikeTheControls) {
  ButtonRig rig;
  BringTo(rig, 1, false);
  rig.command.LblMsg_MouseMove(0, 0, 1, 1);
  EXPECT_EQ(rig.command.State(), 2);
  rig.command.LblMsg_MouseDown(kLeftButton, 0, 1, 1);
  EXPECT_EQ(rig.command.MouseIsDown(), kTrue);
  rig.command.LblMsg_MouseUp(kLeftButton, 0, 1, 1);
  EXPECT_EQ(rig.clicks, 1);
  EXPECT_EQ(rig.PaintedSkins(), (Skins{"HighLight", "Pressed", "Normal"}));
}

TEST(CommandTransitions, ClickComesAfterTheReleaseRepaint) {
  ButtonRig rig;
  BringTo(rig, 4, true);
  Fire(rig, Event::kLeftUp);
  ASSERT_FALSE(rig.log.empty());
  EXPECT_EQ(rig.log.back(), "Click");
}

TEST(CommandTransitions, ClickHandlerMayDisableTheButton) {
  ButtonRig rig;
  BringTo(rig, 2, true);
  rig.command.SetClickHandler([&] { rig.command.SetEnabled(kFalse); });
  Fire(rig, Event::kLeftUp);
  EXPECT_EQ(rig.PaintedSkins(), (Skins{"Normal", "Disable"}));
  EXPECT_EQ(rig.command.State(), 2);
}

}  // namespace
}  // namespace tolvenar::testing
