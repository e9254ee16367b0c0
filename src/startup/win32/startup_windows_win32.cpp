#include "startup/win32/startup_windows_win32.h"

#include <utility>

namespace tolvenar::win32 {

Win32StartupWindows::Win32StartupWindows(const SaverWindowParts& saver, SceneFactory make_scene,
                                         const SettingsDialogShared& dialog, EmbeddedData& embedded)
    : saver_(saver), make_scene_(std::move(make_scene)), dialog_(dialog), preview_(embedded) {}

void Win32StartupWindows::ShowPreview(WindowHandle parent) { preview_.Show(parent); }

void Win32StartupWindows::ShowSettingsDialog() { ShowSettingsDialogModal(dialog_); }

void Win32StartupWindows::LoadSaverWindow() { win32::LoadSaverWindow(saver_, make_scene_); }

}  // namespace tolvenar::win32
