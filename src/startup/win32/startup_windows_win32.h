#pragma once
// The windows of the Windows program's three modes: its command line can ask for any of them.
#include <windows.h>

#include "runtime/embedded_data.h"
#include "scene/win32/saver_window_win32.h"
#include "settings_dialog/win32/settings_dialog_win32.h"
#include "startup/startup.h"
#include "startup/win32/preview_window_win32.h"

namespace tolvenar::win32 {

class Win32StartupWindows final : public StartupWindows {
 public:
  Win32StartupWindows(const SaverWindowParts& saver, SceneFactory make_scene,
                      const SettingsDialogShared& dialog, EmbeddedData& embedded);
  void ShowPreview(WindowHandle parent) override;
  void ShowSettingsDialog() override;
  void LoadSaverWindow() override;

  // The window the program lives in once Main has returned: the preview's. The saver window is
  // gone by the time LoadSaverWindow returns, and the dialog is modal.
  HWND LiveWindow() const { return preview_.handle(); }

 private:
  SaverWindowParts saver_;
  SceneFactory make_scene_;
  SettingsDialogShared dialog_;
  Win32PreviewWindow preview_;
};

}  // namespace tolvenar::win32
