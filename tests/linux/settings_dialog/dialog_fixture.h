#pragma once
// The settings dialog in this process on a settings file in a folder of its own: the real files,
// pointer and screen, the chooser, the shell and the zoom recorded.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "fakes/fake_dialog.h"
#include "fakes/file_bytes.h"
#include "runtime/linux/embedded_data_linux.h"
#include "runtime/linux/process_linux.h"
#include "runtime/linux/profile_file_linux.h"
#include "runtime/linux/user_services_gtk.h"
#include "settings/settings_store.h"
#include "settings_dialog/linux/settings_dialog_linux.h"

namespace tolvenar::linux_port {

// Runs the pending events, then a little longer so that a new window maps and paints.
inline void Pump(int milliseconds = 50) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  do {
    while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  } while (std::chrono::steady_clock::now() < end);
}

class DialogFixture : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(gtk_init_check(nullptr, nullptr)); }

  void SetUp() override {
    folder_ =
        std::filesystem::temp_directory_path() / ("tolvenar-dialog-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder_);
    ini_ = (folder_ / "Tolvenar.ini").string();
    // The pointer stays off the dialog: the buttons keep their plain looks.
    GdkDisplay* display = gdk_display_get_default();
    gdk_device_warp(gdk_seat_get_pointer(gdk_display_get_default_seat(display)),
                    gdk_display_get_default_screen(display), 1023, 767);
  }
  void TearDown() override {
    dialog_.reset();
    Pump();
    std::filesystem::remove_all(folder_);
  }

  // The dialog on the settings in `ini` (none: no file), loaded as the start-up does it.
  GtkSettingsDialog& Open(const std::optional<std::string>& ini, int dots_per_inch = 96) {
    if (ini) testing::Put(ini_, *ini);
    process_ = std::make_unique<LinuxProcess>("/c", folder_.string());
    profile_ = std::make_unique<LinuxProfileFile>(IniFilePath(process_->ProgramDirectory()), ini_);
    store_ = std::make_unique<SettingsStore>(*profile_, *process_);
    screen_ = std::make_unique<LinuxScreenMetrics>(dots_per_inch);
    store_->LoadSettings(settings_);
    dialog_ = std::make_unique<GtkSettingsDialog>(SettingsDialogShared{
        settings_,
        zoom_,
        embedded_,
        {*store_, *screen_, pointer_, app_pointer_, chooser_, shell_, animation_}});
    dialog_->Create();
    dialog_->Load();
    Pump(300);
    return *dialog_;
  }

  std::filesystem::path folder_;
  std::string ini_;
  testing::CallLog log_;
  std::unique_ptr<LinuxProcess> process_;
  std::unique_ptr<LinuxProfileFile> profile_;
  std::unique_ptr<SettingsStore> store_;
  std::unique_ptr<LinuxScreenMetrics> screen_;
  LinuxEmbeddedData embedded_;
  LinuxPointerLocator pointer_;
  LinuxAppPointer app_pointer_;
  testing::FakeFileChooser chooser_{log_};
  testing::FakeShell shell_{log_};
  testing::FakeAnimation animation_{log_};
  SettingsRecord settings_;
  ZoomPoint zoom_;
  std::unique_ptr<GtkSettingsDialog> dialog_;
};

}  // namespace tolvenar::linux_port
