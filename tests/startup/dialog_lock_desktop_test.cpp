// A settings start found beside an open dialog by the dialog's lock, whatever windows the display
// shows: the start that finds the lock free keeps it while its dialog is open.
#include "startup/dialog_lock_desktop.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/fake_lock.h"
#include "fakes/fake_runtime.h"
#include "scene/saver_window.h"
#include "settings_dialog/layout.h"
#include "startup/startup.h"

namespace tolvenar {
namespace {

using testing::CallLog;

class RecordingDialog : public SettingsDialogLauncher {
 public:
  explicit RecordingDialog(CallLog& log) : log_(log) {}
  void ShowSettingsDialog() override { log_.push_back("ShowSettingsDialog"); }

 private:
  CallLog& log_;
};

TEST(DialogLockDesktop, SettingsStartOpensTheDialogOnlyWhenNoneIsOpenAndNoSaverRuns) {
  const std::string dialog_title(dialog_layout::kTitle);
  struct Case {
    const char* name;
    bool lock_free;
    bool dialog_window;  // a window of the dialog's title the display shows
    bool saver_window;
    bool shown;
  } cases[] = {
      {"nothing open", true, false, false, true},
      {"a dialog holds the lock, its window unseen (Wayland)", false, false, false, false},
      {"a dialog holds the lock, its window seen (X11)", false, true, false, false},
      {"a window of the title but no dialog holds the lock", true, true, false, true},
      {"a saver runs", true, false, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CallLog log;
    testing::FakeDesktop windows(log);
    if (c.dialog_window) windows.open_titles.insert(dialog_title);
    if (c.saver_window) windows.open_titles.insert(std::string(kSaverWindowTitle));
    testing::FakeLock lock;
    lock.free = c.lock_free;
    DialogLockDesktop desktop(windows, lock);
    testing::FakeProcess process(log);
    testing::FakeProfileFile profile(log);
    SettingsStore store(profile, process);
    RecordingDialog dialog(log);
    SettingsRecord settings;
    std::int32_t cursor_show_result = 0;

    EXPECT_EQ(Main(SettingsMode{dialog}, desktop, store, settings, cursor_show_result),
              StartupOutcome::kEndProgram);
    EXPECT_EQ(std::count(log.begin(), log.end(), "ShowSettingsDialog"), c.shown ? 1 : 0);
    // The saver is still looked for on the display; the dialog never is.
    EXPECT_EQ(std::count(log.begin(), log.end(), "FindWindow " + std::string(kSaverWindowTitle)),
              1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "FindWindow " + dialog_title), 0);
    EXPECT_EQ(lock.held, c.lock_free);
  }
}

}  // namespace
}  // namespace tolvenar
