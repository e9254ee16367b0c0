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
  const std::string argument_text(reinterpret_cast<const char*>(data), size);
  Main(ModeFromArgumentText(argument_text, windows), desktop, store, settings, cursor);
  if (windows.shown > 1) std::abort();
  return 0;
}
