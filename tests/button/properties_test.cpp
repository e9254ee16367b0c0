// Properties and persistence: read and write defaults, round trips, the first-run step and the
// repaints that reading a property causes.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "fakes/fake_button.h"

namespace tolvenar::testing {
namespace {

FontDescription SomeFont(const std::string& face, double size, std::int16_t weight) {
  FontDescription font;
  font.face_name = face;
  font.size_points = size;
  font.weight = weight;
  font.charset = 0;
  return font;
}

TEST(CommandProperties, NewInstanceStartsWithEveryFieldZeroAndTheDesignLabel) {
  ButtonRig rig;
  EXPECT_EQ(rig.command.State(), 0);
  EXPECT_EQ(rig.command.ButtonEnabled(), kFalse);
  EXPECT_EQ(rig.command.FirstRun(), 0);
  EXPECT_EQ(rig.command.MouseIsDown(), kFalse);
  EXPECT_EQ(rig.command.ReverseGradient(), kFalse);
  EXPECT_FALSE(rig.timer.enabled);
  EXPECT_EQ(rig.timer.interval, 100u);
  EXPECT_EQ(rig.label.caption, "Command");
  EXPECT_EQ(rig.label.colour, 0u);
  EXPECT_EQ(rig.label.font, DesignFont());
  EXPECT_EQ(rig.label.font.face_name, "ＭＳ Ｐゴシック");
  EXPECT_EQ(rig.label.font.size_points, 9.75);
  EXPECT_EQ(rig.label.font.charset, 128);
  EXPECT_EQ(rig.label.top, 90);
  EXPECT_EQ(rig.label.width, 1635);
  EXPECT_EQ(rig.label.height, 195);
}

TEST(CommandProperties, EmptyBagGivesTheReadDefaults) {
  ButtonRig rig;
  rig.label.colour = 0x123456;
  rig.surface.back_style = BackStyle::kTransparent;
  MemoryPropertyBag bag;
  rig.command.UserControl_ReadProperties(bag);
  EXPECT_EQ(rig.command.ButtonEnabled(), kTrue);
  EXPECT_EQ(rig.label.caption, "Command1");
  EXPECT_EQ(rig.label.font.face_name, "Ambient Face");
  EXPECT_EQ(rig.label.font.size_points, 9.75);  // only the name is taken
  EXPECT_EQ(rig.command.FirstRun(), 1);
  EXPECT_EQ(rig.label.colour, 0u);
  EXPECT_EQ(rig.surface.back_style, BackStyle::kOpaque);
  EXPECT_EQ(rig.PaintedSkins(), (std::vector<std::string>{"Normal"}));
}

TEST(CommandProperties, DefaultButtonWritesNothing) {
  ButtonRig rig;
  rig.host.ambient_font = DesignFont();
  MemoryPropertyBag empty;
  rig.command.UserControl_ReadProperties(empty);
  rig.command.SetCaption("Command");
  MemoryPropertyBag saved;
  rig.command.UserControl_WriteProperties(saved);
  EXPECT_TRUE(saved.values.empty());
}

TEST(CommandProperties, CaptionCommandComesBackAsCommand1) {
  ButtonRig rig;
  MemoryPropertyBag bag;
  rig.command.UserControl_ReadProperties(bag);
  rig.command.SetCaption("Command");
  MemoryPropertyBag saved;
  rig.command.UserControl_WriteProperties(saved);
  EXPECT_EQ(saved.values.count("Caption"), 0u);
  ButtonRig loaded;
  loaded.command.UserControl_ReadProperties(saved);
  EXPECT_EQ(loaded.command.Caption(), "Command1");
}

TEST(CommandProperties, RoundTripOfEveryKey) {
  ButtonRig rig;
  MemoryPropertyBag bag;
  rig.command.UserControl_ReadProperties(bag);
  rig.command.SetCaption("設定");
  rig.command.SetFontColour(0x0000FF);
  rig.command.SetFont(SomeFont("IPAGothic", 12, 700));
  rig.command.SetVisible(0);
  rig.command.SetEnabled(kFalse);
  MemoryPropertyBag saved;
  rig.command.UserControl_WriteProperties(saved);
  EXPECT_EQ(std::get<bool>(saved.values.at("Enabled")), false);
  EXPECT_EQ(std::get<std::string>(saved.values.at("Caption")), "設定");
  EXPECT_EQ(std::get<double>(saved.values.at("FontColour")), 255);
  EXPECT_EQ(std::get<double>(saved.values.at("Visible")), 0);
  EXPECT_EQ(std::get<FontDescription>(saved.values.at("Font")).weight, 700);  // the whole font
  EXPECT_EQ(saved.values.count("FirstRun"), 0u);

  ButtonRig loaded;
  loaded.command.UserControl_ReadProperties(saved);
  EXPECT_EQ(loaded.command.ButtonEnabled(), kFalse);
  EXPECT_EQ(loaded.label.caption, "設定");
  EXPECT_EQ(loaded.label.colour, 0x0000FFu);
  EXPECT_EQ(loaded.surface.back_style, BackStyle::kTransparent);
  EXPECT_EQ(loaded.label.font.face_name, "IPAGothic");
  EXPECT_EQ(loaded.label.font.size_points, 9.75);  // size and weight stay the design font's
  EXPECT_EQ(loaded.label.font.weight, 400);
  EXPECT_EQ(loaded.command.FirstRun(), 1);
}

TEST(CommandProperties, WriteOrderAndDefaultsThenApplyLook) {
  // A bag that records what it is asked, in order.
  struct RecordingBag : PropertyBag {
    CallLog& log;
    explicit RecordingBag(CallLog& l) : log(l) {}
    PropertyValue ReadProperty(const std::string& key, const PropertyValue& d) override {
      log.push_back("Read " + key + " default " + PropertyToText(d).value_or("?"));
      return d;
    }
    void WriteProperty(const std::string& key, const PropertyValue& v,
                       const PropertyValue& d) override {
      log.push_back("Write " + key + " " + PropertyToText(v).value_or("?") + " default " +
                    PropertyToText(d).value_or("?"));
    }
  };
  ButtonRig rig;
  RecordingBag bag{rig.log};
  rig.command.UserControl_ReadProperties(bag);
  rig.command.UserControl_WriteProperties(bag);
  const CallLog bag_calls = [&] {
    CallLog calls;
    for (const auto& e : rig.log)
      if (e.rfind("Read ", 0) == 0 || e.rfind("Write ", 0) == 0) calls.push_back(e);
    return calls;
  }();
  EXPECT_EQ(bag_calls, (CallLog{
                           "Read Enabled default True",
                           "Read Caption default Command1",
                           "Read Font default Ambient Face",
                           "Read FirstRun default 1",
                           "Read FontColour default 0",
                           "Read Visible default 1",
                           "Write Enabled True default True",
                           "Write Caption Command1 default Command",
                           "Write FirstRun 1 default 1",
                           "Write Font Ambient Face default Ambient Face",
                           "Write FontColour 0 default 0",
                           "Write Visible 1 default 1",
                       }));
  EXPECT_EQ(rig.log.back(), "Present");  // ApplyLook closes the save: a Normal paint
  EXPECT_EQ(rig.PaintedSkins().back(), "Normal");
}

TEST(CommandProperties, ValuesThatDoNotConvertLeaveTheirSetting) {
  ButtonRig rig;
  MemoryPropertyBag bag;
  bag.values["Enabled"] = std::string("maybe");
  bag.values["FirstRun"] = std::string("abc");
  bag.values["FontColour"] = std::string("red");
  bag.values["Visible"] = std::string("7");   // converts, but is no back style
  bag.values["Font"] = std::string("Arial");  // not a font
  bag.values["Caption"] = 12.0;
  rig.label.colour = 0x00FF00;
  rig.command.UserControl_ReadProperties(bag);
  EXPECT_EQ(rig.command.ButtonEnabled(), kFalse);
  EXPECT_EQ(rig.command.FirstRun(), 0);
  EXPECT_EQ(rig.label.caption, "12");
  EXPECT_EQ(rig.label.font.face_name, "ＭＳ Ｐゴシック");
  EXPECT_EQ(rig.surface.back_style, BackStyle::kOpaque);
  EXPECT_EQ(rig.label.colour, 0x00FF00u);
}

TEST(CommandProperties, StoredSpellingsConvert) {
  struct Row {
    const char* what;
    PropertyValue first_run;
    int expected;
  } rows[] = {
      {"text 1", std::string("1"), 1}, {"number 255", 255.0, 255},         {"half to even", 2.5, 2},
      {"256 does not fit", 256.0, 0},  {"negative does not fit", -1.0, 0}, {"False is 0", false, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    ButtonRig rig;
    MemoryPropertyBag bag;
    bag.values["FirstRun"] = row.first_run;
    rig.command.UserControl_ReadProperties(bag);
    EXPECT_EQ(rig.command.FirstRun(), row.expected);
  }
}

TEST(CommandProperties, DisabledBagLeavesTheButtonUnpaintedUntilResize) {
  ButtonRig rig;
  MemoryPropertyBag bag;
  bag.values["Enabled"] = false;
  rig.command.UserControl_ReadProperties(bag);
  EXPECT_TRUE(rig.PaintedSkins().empty());
  rig.command.UserControl_Resize();
  EXPECT_EQ(rig.PaintedSkins(), (std::vector<std::string>{"Disable"}));
  EXPECT_FALSE(rig.label.enabled);
}

TEST(CommandProperties, VisibleSevenReadsBack255AndZeroReadsBackZero) {
  ButtonRig rig;
  MemoryPropertyBag bag;
  rig.command.UserControl_ReadProperties(bag);
  rig.log.clear();
  rig.command.SetVisible(7);
  EXPECT_EQ(rig.log.back(), "PropertyChanged Visible");
  EXPECT_EQ(rig.command.Visible(), 255);
  EXPECT_EQ(rig.PaintedSkins().size(), 2u);  // the set and the get each paint Normal
  rig.log.clear();
  rig.command.SetVisible(0);
  EXPECT_EQ(rig.command.Visible(), 0);
  EXPECT_TRUE(rig.PaintedSkins().empty());
  EXPECT_EQ(rig.log, (CallLog{"BackStyle 0", "PropertyChanged Visible"}));
}

TEST(CommandProperties, FontColourSetStoresAndNotifies) {
  ButtonRig rig;
  MemoryPropertyBag bag;
  rig.command.UserControl_ReadProperties(bag);
  rig.log.clear();
  rig.command.SetFontColour(0x0000FF);
  EXPECT_EQ(rig.label.colour, 0x0000FFu);
  EXPECT_EQ(rig.log.back(), "PropertyChanged FontColour");
  EXPECT_EQ(rig.command.FontColour(), 0x0000FFu);
  // A value that is not a colour: ApplyLook runs, nothing is stored or notified.
  rig.log.clear();
  rig.command.SetFontColour(0x01000000);
  EXPECT_EQ(rig.label.colour, 0x0000FFu);
  EXPECT_EQ(rig.PaintedSkins().size(), 1u);
  for (const auto& e : rig.log) EXPECT_NE(e, "PropertyChanged FontColour");
}

TEST(CommandProperties, FirstRunZeroKeepsTheCaptionBlackUntilEnabledIsRead) {
  ButtonRig rig;
  MemoryPropertyBag bag;
  bag.values["FirstRun"] = 0.0;
  rig.command.UserControl_ReadProperties(bag);
  rig.command.SetFontColour(0x0000FF);
  EXPECT_EQ(rig.label.colour, 0u);
  EXPECT_EQ(rig.command.Enabled(), kTrue);
  EXPECT_EQ(rig.command.FirstRun(), 1);
  rig.command.SetFontColour(0x0000FF);
  EXPECT_EQ(rig.label.colour, 0x0000FFu);
}

TEST(CommandProperties, FirstReadOfEnabledOnANeverLoadedInstance) {
  ButtonRig rig;
  rig.command.UserControl_Resize();  // first paint of a new instance: disabled
  EXPECT_EQ(rig.PaintedSkins(), (std::vector<std::string>{"Disable"}));
  rig.log.clear();
  EXPECT_EQ(rig.command.Enabled(), kTrue);
  EXPECT_EQ(rig.command.FirstRun(), 1);
  EXPECT_EQ(rig.command.ButtonEnabled(), kTrue);
  // The step's ApplyLook did nothing (still disabled then); ApplyEnabled painted Normal.
  EXPECT_EQ(rig.PaintedSkins(), (std::vector<std::string>{"Normal"}));
  rig.log.clear();
  rig.command.Enabled();  // the step does not repeat
  EXPECT_EQ(rig.PaintedSkins(), (std::vector<std::string>{"Normal"}));
}

TEST(CommandProperties, EnabledOffAndOnRepaintsAndKeepsState) {
  ButtonRig rig;
  MemoryPropertyBag bag;
  rig.command.UserControl_ReadProperties(bag);
  rig.command.Initialize();
  rig.command.UserControl_MouseMove(0, 0, 1, 1);
  rig.log.clear();
  rig.command.SetEnabled(kFalse);
  rig.command.SetEnabled(1);  // any nonzero value is True
  EXPECT_EQ(rig.command.ButtonEnabled(), kTrue);
  EXPECT_EQ(rig.PaintedSkins(), (std::vector<std::string>{"Disable", "Normal"}));
  EXPECT_EQ(rig.command.State(), 2);
  EXPECT_EQ(rig.log.front(), "PropertyChanged Enabled");
}

TEST(CommandProperties, CaptionAndFontSetsNotify) {
  ButtonRig rig;
  rig.command.SetCaption("ｷｬﾝｾﾙ");
  rig.command.SetFont(SomeFont("IPAGothic", 11, 700));
  EXPECT_EQ(rig.command.Caption(), "ｷｬﾝｾﾙ");
  EXPECT_EQ(rig.command.Font().weight, 700);
  EXPECT_EQ(rig.log, (CallLog{"PropertyChanged Caption", "PropertyChanged Font"}));
}

TEST(CommandProperties, ApplyLookFailureMakesTheCaptionBlackAndGoesOn) {
  ButtonRig rig;
  MemoryPropertyBag bag;
  bag.values["FontColour"] = 255.0;
  rig.command.UserControl_ReadProperties(bag);
  ASSERT_EQ(rig.label.colour, 255u);
  rig.label.enabling_fails = true;
  rig.log.clear();
  rig.command.SetVisible(1);
  EXPECT_EQ(rig.label.colour, 0u);
  EXPECT_EQ(rig.PaintedSkins(), (std::vector<std::string>{"Normal"}));
}

TEST(CommandSkins, LoadedByResourceNameAndMissingOnesStayEmpty) {
  FakeEmbeddedData data;
  Picture picture;
  picture.width = 64;
  picture.height = 25;
  picture.rgb.assign(64 * 25 * 3, 0x40);
  data.items["SKIN_PRESSED"] = EncodeBmp24(picture);
  data.items["SKIN_NORMAL"] = "not a picture";
  const SkinSet skins = LoadSkins(data);
  EXPECT_EQ(data.asked,
            (std::vector<std::string>{"SKIN_NORMAL", "SKIN_HIGHLIGHT", "SKIN_HIGHLIGHTSELECT",
                                      "SKIN_SELECTED", "SKIN_PRESSED", "SKIN_DISABLE"}));
  EXPECT_EQ(skins[static_cast<int>(Skin::kPressed)].width, 64);
  EXPECT_EQ(skins[static_cast<int>(Skin::kPressed)].rgb, picture.rgb);
  EXPECT_TRUE(skins[static_cast<int>(Skin::kNormal)].rgb.empty());
  EXPECT_TRUE(skins[static_cast<int>(Skin::kDisable)].rgb.empty());
}

TEST(PropertyValues, EqualityAsTheBagJudgesDefaults) {
  EXPECT_TRUE(PropertyValuesEqual(1.0, std::string("1")));
  EXPECT_TRUE(PropertyValuesEqual(true, true));
  EXPECT_TRUE(PropertyValuesEqual(true, -1.0));
  EXPECT_FALSE(PropertyValuesEqual(std::string("Command1"), std::string("Command")));
  EXPECT_FALSE(PropertyValuesEqual(std::string("1"), std::string("1.0")));  // texts as texts
  EXPECT_FALSE(PropertyValuesEqual(SomeFont("A", 9, 400), std::string("A")));
  EXPECT_TRUE(PropertyValuesEqual(SomeFont("A", 9, 400), SomeFont("A", 9, 400)));
  EXPECT_FALSE(PropertyValuesEqual(SomeFont("A", 9, 400), SomeFont("A", 9, 700)));
}

}  // namespace
}  // namespace tolvenar::testing
