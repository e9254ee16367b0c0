// Any argument text: start-up must pick exactly one mode and never crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fakes/fake_runtime.h"
#include "startup/startup.h"

namespace {

class CountingWindows : public tolvenar::StartupWindows {
 public:
  void ShowPreview(tolvenar::WindowHandle) override { ++shown; }
  void ShowSettingsDialog() override { ++shown; }
  void LoadSaverWindow() override { ++shown; }
  int shown = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tolvenar;
  testing::CallLog log;
  testing::FakeDesktop desktop(log);
  testing::FakeProcess process(log);
  testing::FakeProfileFile profile(log);
  SettingsStore store(profile, process);
  CountingWindows windows;
  SettingsRecord settings;
  std::int32_t cursor = 0;
  process.argument_text.assign(reinterpret_cast<const char*>(data), size);
  Main({desktop, process, store, windows}, settings, cursor);
  if (windows.shown > 1) std::abort();
  return 0;
}
