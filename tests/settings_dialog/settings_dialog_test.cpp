#include "settings_dialog/settings_dialog.h"

#include <gtest/gtest.h>

#include "fakes/fake_dialog.h"
#include "settings_dialog/layout.h"

namespace tolvenar {
namespace {

using testing::CallLog;
using testing::FakeButton;
using V = std::vector<std::string>;

const std::string kIni = "C:\\Saver\\Tolvenar.ini";
const std::string kSelected(dialog_layout::kMarkSelected);
const std::string kUnselected(dialog_layout::kMarkUnselected);

struct DialogRun {
  CallLog log;
  testing::FakeProcess process{log};
  testing::FakeProfileFile profile{log};
  SettingsStore store{profile, process};
  testing::FakeModalWindow window{log};
  testing::FakeSurface window_surface{7440, 3645};
  testing::FakeSurface panel_surface{7035, 2475};
  FakeButton set{log, "Cmd_Set"}, cancel{log, "Cmd_Can"}, file{log, "Cmd_File"};
  testing::FakeComboBox repeat{log, "BGM_Repeat"};
  testing::FakeImage marks[3] = {{log, "Img_BGM(0)"}, {log, "Img_BGM(1)"}, {log, "Img_BGM(2)"}};
  testing::FakeLabel file_name{log, "lbl_Fname"}, link{log, "lbl_URL"};
  testing::FakeScreen screen;
  testing::FakePointer pointer{log};
  testing::FakeFileChooser chooser{log};
  testing::FakeShell shell{log};
  testing::FakeAnimation animation{log};
  SettingsRecord settings;
  ZoomPoint zoom;
  SettingsDialog dialog{{window,
                         window_surface,
                         panel_surface,
                         set,
                         cancel,
                         file,
                         repeat,
                         {&marks[0], &marks[1], &marks[2]},
                         file_name,
                         link},
                        {store, screen, pointer, pointer, chooser, shell, animation},
                        settings,
                        zoom};

  DialogRun() { link.caption = std::string(dialog_layout::kLinkCaption); }

  int BlueMarks() const {
    int blue = 0;
    for (const auto& mark : marks) blue += mark.picture == kSelected;
    return blue;
  }
  V Writes() const {
    V writes;
    for (const std::string& call : log)
      if (call.rfind("WriteString", 0) == 0) writes.push_back(call);
    return writes;
  }
};

std::string Write(std::string_view key, const std::string& value) {
  return "WriteString Section/" + std::string(key) + "=" + value + " " + kIni;
}

TEST(SettingsDialog, LoadRunsItsStepsInOrder) {
  DialogRun run;
  run.settings = {2, 0, "C:\\Music\\night.mp3", "C:\\Music"};
  run.dialog.Form_Load();
  const V expected = {
      "MoveTo 3915,2500",
      "Cmd_Set.Initialize",
      "Cmd_Can.Initialize",
      "Cmd_File.Initialize",
      "BGM_Repeat.Enabled=0",
      "Img_BGM(0).Picture=" + kUnselected,
      "Img_BGM(1).Picture=" + kUnselected,
      "Img_BGM(2).Picture=" + kUnselected,
      "Img_BGM(2).Picture=" + kSelected,
      "Cmd_File.Enabled=1",
      "BGM_Repeat.Text=",
      "lbl_Fname.Caption=C:\\Music\\night.mp3",
      "GetCursorPos",
      "GetWindowRect 4660",
      "DrawAnimatedRects 4660 3 (800,600,800,600) -> (261,166,763,434)",
      "AppPointer default",
  };
  EXPECT_EQ(run.log, expected);
}

TEST(SettingsDialog, EnabledStateAndMarksAfterLoad) {
  struct Case {
    std::int16_t kind;
    bool repeat_enabled, file_enabled;
    int blue_mark;  // -1: none
  } cases[] = {{0, false, false, 0},
               {1, true, false, 1},
               {2, false, true, 2},
               {3, false, false, -1},
               {-1, false, false, -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE("MusicKind " + std::to_string(c.kind));
    DialogRun run;
    run.settings.MusicKind = c.kind;
    run.dialog.Form_Load();
    EXPECT_EQ(run.repeat.enabled, c.repeat_enabled);
    EXPECT_EQ(run.file.enabled, c.file_enabled);
    EXPECT_EQ(run.BlueMarks(), c.blue_mark < 0 ? 0 : 1);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(run.marks[i].picture, i == c.blue_mark ? kSelected : kUnselected) << "mark " << i;
    }
  }
}

TEST(SettingsDialog, EveryPickLeavesExactlyOneBlueMark) {
  DialogRun run;
  run.settings.MusicKind = 3;
  run.dialog.Form_Load();
  const std::int16_t picks[] = {1, 0, 2, 2, 1, 0};
  for (std::int16_t pick : picks) {
    SCOPED_TRACE("pick " + std::to_string(pick));
    run.log.clear();
    // Marks and texts both pick; any mouse button does (the handlers take no button).
    if (pick % 2) {
      run.dialog.lbl_BGM_MouseDown(pick);
    } else {
      run.dialog.Img_BGM_MouseDown(pick);
    }
    EXPECT_EQ(run.settings.MusicKind, pick);
    EXPECT_EQ(run.BlueMarks(), 1);
    EXPECT_EQ(run.marks[pick].picture, kSelected);
    EXPECT_EQ(run.repeat.enabled, pick == 1);
    EXPECT_EQ(run.file.enabled, pick == 2);
    V expected = {"Cmd_File.Enabled=0",
                  "BGM_Repeat.Enabled=0",
                  "Img_BGM(0).Picture=" + kUnselected,
                  "Img_BGM(1).Picture=" + kUnselected,
                  "Img_BGM(2).Picture=" + kUnselected,
                  "Img_BGM(" + std::to_string(pick) + ").Picture=" + kSelected};
    if (pick == 1) expected.push_back("BGM_Repeat.Enabled=1");
    if (pick == 2) expected.push_back("Cmd_File.Enabled=1");
    EXPECT_EQ(run.log, expected);
  }
}

TEST(SettingsDialog, RepeatFieldShowsHashHashAndListsThirtyOneItems) {
  struct Case {
    std::int16_t stored;
    const char* shown;
  } cases[] = {{0, ""},    {7, "7"},         {30, "30"},        {45, "45"},
               {-3, "-3"}, {32767, "32767"}, {-32768, "-32768"}};
  for (const Case& c : cases) {
    SCOPED_TRACE("RepeatTrack " + std::to_string(c.stored));
    DialogRun run;
    run.settings.RepeatTrack = c.stored;
    run.dialog.Form_Load();
    EXPECT_EQ(run.repeat.text, c.shown);
    ASSERT_EQ(run.repeat.items.size(), 31u);
    EXPECT_EQ(run.repeat.items[0], "");
    EXPECT_EQ(run.repeat.items[1], "1");
    EXPECT_EQ(run.repeat.items[9], "9");
    EXPECT_EQ(run.repeat.items[10], "10");
    EXPECT_EQ(run.repeat.items[30], "30");
  }
}

TEST(SettingsDialog, SetWritesTheThreeKeysInOrderAndCloses) {
  struct Case {
    const char* text;
    std::int16_t previous;
    const char* written;
  } cases[] = {
      {"45", 45, "45"},      {"abc", 5, "0"},         {"", 5, "0"},      {"7", 0, "7"},
      {"2.5", 0, "2"},       {"3.5", 0, "4"},         {" 12 ", 0, "12"}, {"-2.5", 0, "-2"},
      {"32767", 0, "32767"}, {"-32768", 0, "-32768"},  // the 16-bit limits fit
      {"32768", 9, "9"},  // outside 16 bits: cannot be stored, the old value is kept
      {"-40000", 9, "9"},    {"1e9", 9, "9"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("repeat text \"") + c.text + "\"");
    DialogRun run;
    run.settings = {1, c.previous, "C:\\Music\\a.wav", "C:\\Music"};
    run.dialog.Form_Load();
    run.repeat.text = c.text;
    run.log.clear();
    run.dialog.Cmd_Set_Click();
    EXPECT_EQ(run.Writes(), (V{Write(kKeyMusicKind, "1"), Write(kKeyRepeatTrack, c.written),
                               Write(kKeyMusicFile, "C:\\Music\\a.wav")}));
    EXPECT_EQ(run.log.back(), "Close");
    EXPECT_EQ(std::to_string(run.settings.RepeatTrack), c.written);
  }
}

TEST(SettingsDialog, SetWritesAnUnknownKindBackUnchanged) {
  DialogRun run;
  run.settings = {3, 0, "", "C:\\Saver"};
  run.dialog.Form_Load();
  run.dialog.Cmd_Set_Click();
  EXPECT_EQ(run.Writes(),
            (V{Write(kKeyMusicKind, "3"), Write(kKeyRepeatTrack, "0"), Write(kKeyMusicFile, "")}));
}

TEST(SettingsDialog, PickedFileIsKeptWhenTheKindIsNotAFile) {
  DialogRun run;
  run.settings = {2, 0, "", "C:\\Saver"};
  run.dialog.Form_Load();
  run.chooser.answer = "D:\\Songs\\city.mp3";
  run.dialog.Cmd_File_Click();
  run.dialog.lbl_BGM_MouseDown(0);
  run.dialog.Cmd_Set_Click();
  EXPECT_EQ(run.Writes(), (V{Write(kKeyMusicKind, "0"), Write(kKeyRepeatTrack, "0"),
                             Write(kKeyMusicFile, "D:\\Songs\\city.mp3")}));
}

TEST(SettingsDialog, CancelWritesNothing) {
  DialogRun run;
  run.settings = {1, 4, "", "C:\\Saver"};
  run.dialog.Form_Load();
  run.dialog.Img_BGM_MouseDown(2);
  run.chooser.answer = "D:\\x.wav";
  run.dialog.Cmd_File_Click();
  run.repeat.text = "9";
  run.log.clear();
  run.dialog.Cmd_Can_Click();
  run.dialog.Form_Unload();
  EXPECT_EQ(run.log, (V{"Close", "GetWindowRect 4660",
                        "DrawAnimatedRects 4660 3 (261,166,763,434) -> (800,600,800,600)"}));
}

TEST(SettingsDialog, FileChooserRequestAndAnswer) {
  DialogRun run;
  run.settings = {2, 0, "C:\\Music\\night.mp3", "C:\\Music"};
  run.dialog.Form_Load();

  run.chooser.answer = std::nullopt;  // cancelled: nothing changes
  run.log.clear();
  run.dialog.Cmd_File_Click();
  EXPECT_EQ(run.log, V{"GetOpenFileName"});
  EXPECT_EQ(run.settings.MusicFile, "C:\\Music\\night.mp3");

  run.chooser.name_not_held = true;  // refused with a word why: nothing changes either
  run.log.clear();
  run.dialog.Cmd_File_Click();
  EXPECT_EQ(run.log, (V{"GetOpenFileName", "Refusal 4660 ﾌｧｲﾙ名に使えない文字があります。"}));
  EXPECT_EQ(run.settings.MusicFile, "C:\\Music\\night.mp3");
  EXPECT_EQ(run.file_name.caption, "C:\\Music\\night.mp3");
  run.chooser.name_not_held = false;

  run.chooser.answer = "E:\\New\\song.wav";
  run.dialog.Cmd_File_Click();
  EXPECT_EQ(run.settings.MusicFile, "E:\\New\\song.wav");
  EXPECT_EQ(run.file_name.caption, "E:\\New\\song.wav");
  EXPECT_EQ(run.settings.MusicFolder, "E:\\New");
  run.dialog.Cmd_File_Click();

  ASSERT_EQ(run.chooser.requests.size(), 4u);
  const OpenFileRequest& first = run.chooser.requests[0];
  EXPECT_EQ(first.owner, 0x1234u);
  // "BGMﾌｧｲﾙ (MP3 WAV)" NUL "*.MP3;*.WAV" NUL NUL, code page 932 bytes.
  EXPECT_EQ(first.filter, std::string("BGM\xCC\xA7\xB2\xD9 (MP3 WAV)\0*.MP3;*.WAV\0\0", 31));
  EXPECT_EQ(first.title, "\xCC\xA7\xB2\xD9\x82\xF0\x8A\x4A\x82\xAD");  // ﾌｧｲﾙを開く
  EXPECT_EQ(first.file_buffer_size, 255u);
  EXPECT_EQ(first.file_title_buffer_size, 255u);
  EXPECT_EQ(first.flags, 0u);
  EXPECT_EQ(first.initial_dir, "C:\\Music");
  // A second opening starts in the folder of the file just picked.
  EXPECT_EQ(run.chooser.requests[3].initial_dir, "E:\\New");
}

TEST(SettingsDialog, LinkOpensThroughTheShellUnderTheHourglass) {
  DialogRun run;
  run.dialog.lbl_URL_Click();
  EXPECT_EQ(run.log, (V{"AppPointer hourglass",
                        "ShellExecute 4660 open http://www.example.org/tolvenar/ [] [] 1",
                        "AppPointer default"}));
}

TEST(SettingsDialog, ZoomPointFallsBackToTheCornerWithoutAPointer) {
  DialogRun run;
  run.pointer.position = std::nullopt;
  run.dialog.Form_Load();
  run.pointer.position = PixelPoint{5, 5};  // moving later does not matter
  run.log.clear();
  run.dialog.Form_Unload();
  EXPECT_EQ(run.log,
            (V{"GetWindowRect 4660", "DrawAnimatedRects 4660 3 (261,166,763,434) -> (0,0,0,0)"}));
}

TEST(SettingsDialog, AChangeOfResolutionLaysTheDialogOutAgainWhereTheSystemSuggests) {
  struct Case {
    std::int32_t dpi_x, dpi_y;
    const char* scale;
  } cases[] = {
      {144, 144, "10.000000,10.000000"},
      {120, 96, "12.000000,15.000000"},
      {0, 0, "15.000000,15.000000"},  // not given: the usual resolution
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.dpi_x) + " dpi");
    DialogRun run;
    run.dialog.Form_Load();
    run.log.clear();
    run.dialog.Form_DpiChanged({c.dpi_x, c.dpi_y, {1300, 90, 2060, 482}});
    EXPECT_EQ(run.log, V{std::string("LayOutAt ") + c.scale + " (1300,90,2060,482)"});
    // The surfaces laid out anew are painted again.
    EXPECT_EQ(run.window_surface.lines.size(), 3646u);
    EXPECT_EQ(run.panel_surface.lines.size(), 2476u);
  }
}

TEST(DialogPlacement, CentredAcrossAThirdDown) {
  struct Case {
    double sw, sh, w, h;
    std::int32_t left, top;
  } cases[] = {
      {15360, 11520, 7530, 4020, 3915, 2500},
      {15360, 11520, 7531, 4021, 3914, 2499},    // odd differences: the quotient is cut
      {15360, 11520, 7530.5, 4020, 3915, 2500},  // 7829.5 rounds half to even: 7830
      {6000, 4000, 7530, 4020, -765, -6},        // larger than the screen: cut toward zero
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.w) + " x " + std::to_string(c.h));
    const std::optional<TwipsPoint> place = DialogPlacement(c.sw, c.sh, c.w, c.h);
    ASSERT_TRUE(place);
    EXPECT_EQ(place->left, c.left);
    EXPECT_EQ(place->top, c.top);
  }
}

TEST(Gradient, RowsOfTheWindowAndThePanel) {
  DialogRun run;
  run.dialog.Form_Resize();
  const auto& window = run.window_surface.lines;
  const auto& panel = run.panel_surface.lines;
  ASSERT_EQ(window.size(), 3646u);  // rows 0 to 3645 inclusive
  ASSERT_EQ(panel.size(), 2476u);
  struct Row {
    std::size_t y;
    std::uint8_t v;
  };
  for (const Row& row :
       {Row{0, 0}, Row{300, 56}, Row{911, 156}, Row{1822, 220}, Row{2880, 135}, Row{3645, 0}}) {
    SCOPED_TRACE("window row " + std::to_string(row.y));
    EXPECT_EQ(window[row.y].y, row.y);
    EXPECT_EQ(window[row.y].x1, 0);
    EXPECT_EQ(window[row.y].x2, 7440);
    EXPECT_EQ(window[row.y].colour, (Colour{row.v, row.v, static_cast<std::uint8_t>(row.v + 30)}));
  }
  for (const Row& row : {Row{0, 0}, Row{300, 82}, Row{1237, 220}, Row{2000, 125}}) {
    SCOPED_TRACE("panel row " + std::to_string(row.y));
    const auto v = static_cast<std::uint8_t>(row.v + 30);
    EXPECT_EQ(panel[row.y].x2, 7035);
    EXPECT_EQ(panel[row.y].colour, (Colour{v, v, v}));
  }
}

TEST(Gradient, EmptySurfaceDrawsOneDarkRow) {
  EXPECT_EQ(GradientLevel(0, 0), 0);
  DialogRun run;
  run.window_surface.height_twips = 0;
  run.dialog.Form_Resize();
  ASSERT_EQ(run.window_surface.lines.size(), 1u);
  EXPECT_EQ(run.window_surface.lines[0].colour, (Colour{0, 0, 30}));
}

}  // namespace
}  // namespace tolvenar
