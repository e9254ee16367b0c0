#pragma once
// The settings dialog's window: a fixed-size top-level window with the panel, the windowless
// labels and marks, the repeat combo box and the three buttons, shown modally.
#include "runtime/embedded_data.h"
#include "settings/settings_store.h"
#include "settings_dialog/zoom.h"

namespace tolvenar::win32 {

struct SettingsDialogShared {
  SettingsRecord& settings;
  SettingsStore& store;
  ZoomPoint& zoom_point;
  EmbeddedData& embedded;
};

// Creates the dialog, runs its load handler, shows it and returns when it has closed.
void ShowSettingsDialogModal(SettingsDialogShared shared);

}  // namespace tolvenar::win32
