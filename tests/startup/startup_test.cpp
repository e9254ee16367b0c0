#include "startup/startup.h"

#include <gtest/gtest.h>

#include "fakes/fake_runtime.h"
#include "scene/saver_window.h"

namespace tolvenar {
namespace {

using testing::CallLog;

class RecordingWindows : public StartupWindows {
 public:
  explicit RecordingWindows(CallLog& log) : log_(log) {}
  // The handle as the signed number it came from: a negative number must reach the window
  // sign-extended, as the platform's handles are.
  void ShowPreview(WindowHandle parent) override {
    log_.push_back("ShowPreview " + std::to_string(static_cast<std::intptr_t>(parent)));
  }
  void ShowSettingsDialog() override { log_.push_back("ShowSettingsDialog"); }
  void LoadSaverWindow() override { log_.push_back("LoadSaverWindow"); }

 private:
  CallLog& log_;
};

struct StartupRun {
  CallLog log;
  testing::FakeDesktop desktop{log};
  testing::FakeProcess process{log};
  testing::FakeProfileFile profile{log};
  SettingsStore store{profile, process};
  RecordingWindows windows{log};
  SettingsRecord settings;
  std::int32_t cursor_show_result = 0;

  StartupOutcome Run(const std::string& argument_text) {
    return Main(ModeFromArgumentText(argument_text, windows), desktop, store, settings,
                cursor_show_result);
  }
  // The calls after the guard, with the settings reads folded into one line.
  std::vector<std::string> Steps() const {
    std::vector<std::string> steps;
    for (const std::string& call : log) {
      if (call.rfind("FindWindow", 0) == 0) continue;
      if (call.rfind("GetString", 0) == 0) {
        if (steps.empty() || steps.back() != "LoadSettings") steps.push_back("LoadSettings");
        continue;
      }
      steps.push_back(call);
    }
    return steps;
  }
};

TEST(Main, CommandLineTable) {
  using V = std::vector<std::string>;
  struct Case {
    const char* argument_text;
    StartupOutcome outcome;
    V steps;
  } cases[] = {
      {"/s", StartupOutcome::kLiveOn, V{"LoadSettings", "ShowCursor 0", "LoadSaverWindow"}},
      {"/S", StartupOutcome::kLiveOn, V{"LoadSettings", "ShowCursor 0", "LoadSaverWindow"}},
      {"-s", StartupOutcome::kLiveOn, V{"LoadSettings", "ShowCursor 0", "LoadSaverWindow"}},
      {"xs", StartupOutcome::kLiveOn, V{"LoadSettings", "ShowCursor 0", "LoadSaverWindow"}},
      // A first character of two bytes (ソ, 83 5C) is still one character.
      {"\x83\x5Cs", StartupOutcome::kLiveOn, V{"LoadSettings", "ShowCursor 0", "LoadSaverWindow"}},
      {"\x83\x5Cp:77", StartupOutcome::kLiveOn, V{"ShowPreview 77"}},
      {"", StartupOutcome::kLiveOn, V{"LoadSettings", "LoadSaverWindow"}},
      {"/p 1234", StartupOutcome::kLiveOn, V{"ShowPreview 1234"}},
      {"/p:1234", StartupOutcome::kLiveOn, V{"ShowPreview 1234"}},
      {"/P 1234", StartupOutcome::kLiveOn, V{"ShowPreview 1234"}},
      {"/p1234", StartupOutcome::kLiveOn, V{"ShowPreview 234"}},
      {"/p", StartupOutcome::kLiveOn, V{"ShowPreview 0"}},
      {"/p -5", StartupOutcome::kLiveOn, V{"ShowPreview -5"}},
      {"/p 99999999999", StartupOutcome::kLiveOn, V{"ShowPreview 0"}},
      {"/p 12abc", StartupOutcome::kLiveOn, V{"ShowPreview 12"}},
      {"/p 1234.5", StartupOutcome::kLiveOn, V{"ShowPreview 1234"}},
      {"/p\t 1 2", StartupOutcome::kLiveOn, V{"ShowPreview 12"}},
      {"/c", StartupOutcome::kEndProgram, V{"LoadSettings", "ShowSettingsDialog"}},
      {"/c:1234", StartupOutcome::kEndProgram, V{"LoadSettings", "ShowSettingsDialog"}},
      {"/C", StartupOutcome::kEndProgram, V{"LoadSettings", "ShowSettingsDialog"}},
      {"/a 1234", StartupOutcome::kEndProgram, V{"LoadSettings"}},
      {"/x", StartupOutcome::kEndProgram, V{"LoadSettings"}},
      {"s", StartupOutcome::kEndProgram, V{"LoadSettings"}},
      {"/", StartupOutcome::kEndProgram, V{"LoadSettings"}},
  };
  for (const Case& c : cases) {
    StartupRun run;
    EXPECT_EQ(run.Run(c.argument_text), c.outcome) << "'" << c.argument_text << "'";
    EXPECT_EQ(run.Steps(), c.steps) << "'" << c.argument_text << "'";
  }
}

TEST(Main, VeryLongCommandLineIsReadLikeAnyOther) {
  StartupRun run;
  EXPECT_EQ(run.Run("/x" + std::string(5000, 'q')), StartupOutcome::kEndProgram);
  EXPECT_EQ(run.Steps(), std::vector<std::string>{"LoadSettings"});
  StartupRun preview;
  preview.Run("/p " + std::string(5000, '9'));
  EXPECT_EQ(preview.Steps(), std::vector<std::string>{"ShowPreview 0"});
}

TEST(Main, SaverModeKeepsTheHiddenCursorCount) {
  StartupRun run;
  run.Run("/s");
  EXPECT_EQ(run.cursor_show_result, -1);
}

TEST(Main, GuardMakesBothLookUpsAndEndsEveryMode) {
  for (const char* running : {"Tolvenar_Main", "<Tolvenar>"}) {
    for (const char* argument_text : {"/s", "/p 1234", "/c", ""}) {
      StartupRun run;
      run.desktop.open_titles = {running};
      EXPECT_EQ(run.Run(argument_text), StartupOutcome::kEndProgram) << running << argument_text;
      EXPECT_EQ(run.log, (CallLog{"FindWindow Tolvenar_Main", "FindWindow <Tolvenar>"}))
          << running << " " << argument_text;
    }
  }
}

TEST(Main, PreviewWindowTitleIsNoInstanceMark) {
  StartupRun run;
  run.desktop.open_titles = {"Preview Window"};
  EXPECT_EQ(run.Run("/s"), StartupOutcome::kLiveOn);
}

// A program that has one window only names the mode it means; Main asks it for nothing else.
TEST(Main, ExplicitModeNeedsOnlyItsOwnWindow) {
  struct OnlyDialog : SettingsDialogLauncher {
    CallLog& log;
    explicit OnlyDialog(CallLog& l) : log(l) {}
    void ShowSettingsDialog() override { log.push_back("ShowSettingsDialog"); }
  };
  struct OnlySaver : SaverWindowLauncher {
    CallLog& log;
    explicit OnlySaver(CallLog& l) : log(l) {}
    void LoadSaverWindow() override { log.push_back("LoadSaverWindow"); }
  };
  StartupRun dialog_run;
  OnlyDialog dialog(dialog_run.log);
  EXPECT_EQ(Main(SettingsMode{dialog}, dialog_run.desktop, dialog_run.store, dialog_run.settings,
                 dialog_run.cursor_show_result),
            StartupOutcome::kEndProgram);
  EXPECT_EQ(dialog_run.Steps(), (std::vector<std::string>{"LoadSettings", "ShowSettingsDialog"}));

  StartupRun saver_run;
  OnlySaver saver(saver_run.log);
  EXPECT_EQ(Main(SaverMode{saver, PointerDuringSaver::kHidden}, saver_run.desktop, saver_run.store,
                 saver_run.settings, saver_run.cursor_show_result),
            StartupOutcome::kLiveOn);
  EXPECT_EQ(saver_run.Steps(),
            (std::vector<std::string>{"LoadSettings", "ShowCursor 0", "LoadSaverWindow"}));

  // A saver that runs beside the others never looks for them, even with one on the desktop.
  StartupRun beside_run;
  beside_run.desktop.open_titles = {std::string(kSaverWindowTitle)};
  OnlySaver beside(beside_run.log);
  EXPECT_EQ(Main(SaverMode{beside, PointerDuringSaver::kHidden, SecondStart::kRunsBeside},
                 beside_run.desktop, beside_run.store, beside_run.settings,
                 beside_run.cursor_show_result),
            StartupOutcome::kLiveOn);
  EXPECT_EQ(beside_run.log.front().rfind("FindWindow", 0), std::string::npos);
  EXPECT_EQ(beside_run.Steps(),
            (std::vector<std::string>{"LoadSettings", "ShowCursor 0", "LoadSaverWindow"}));
}

TEST(ModeLetter, SecondCharacterUpperCased) {
  EXPECT_EQ(ModeLetter(""), "");
  EXPECT_EQ(ModeLetter("s"), "");
  EXPECT_EQ(ModeLetter("/s"), "S");
  EXPECT_EQ(ModeLetter("-c:99"), "C");
}

}  // namespace
}  // namespace tolvenar
