#pragma once
// The saver's --settings: the settings dialog is a program of its own (it stands on GTK, whose
// libraries the saver does not load), installed beside the saver's file.
namespace tolvenar::linux_port {

// The settings program's name beside the saver.
inline constexpr const char* kSettingsProgramName = "tolvenar-settings";

// Replaces this process with the settings program; returns only when it cannot be started, with
// the exit status 1 (and says why on standard error).
int RunSettingsProgram();

}  // namespace tolvenar::linux_port
