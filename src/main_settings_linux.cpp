// Program entry of the Linux settings dialog, tolvenar-settings: what the saver runs for
// --settings (and the menu entry through it). A termination signal closes the dialog.
#include <cstdlib>
#include <optional>
#include <string>

#include "runtime/linux/termination_signals.h"
#include "runtime/emulation/user_folders.h"
#include "startup/linux/settings_run_linux.h"

namespace {

std::optional<std::string> Environment(const char* name) {
  const char* value = std::getenv(name);
  if (!value) return std::nullopt;
  return std::string(value);
}

}  // namespace

int main() {
  tolvenar::linux_port::TerminationSignals signals;
  return tolvenar::linux_port::RunSettings(
      {Environment("TOLVENAR_INI"), Environment("XDG_CONFIG_HOME"), Environment("XDG_RUNTIME_DIR"),
       Environment("HOME")},
      signals);
}
