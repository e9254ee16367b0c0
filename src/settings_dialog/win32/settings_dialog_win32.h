#pragma once
// The settings dialog's window: a fixed-size top-level window with the panel, the windowless
// labels and marks, the repeat combo box and the three buttons, shown modally.
#include "runtime/embedded_data.h"
#include "settings/settings_store.h"
#include "settings_dialog/settings_dialog.h"
#include "settings_dialog/zoom.h"

namespace tolvenar::win32 {

// Creates the dialog, runs its load handler, shows it and returns when it has closed.
void ShowSettingsDialogModal(const SettingsDialogShared& shared);

}  // namespace tolvenar::win32
