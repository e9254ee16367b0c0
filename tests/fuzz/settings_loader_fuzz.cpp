// Any three INI values: the loader must keep its invariants (a music-file kind always has a file).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fakes/fake_runtime.h"
#include "settings/settings_store.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tolvenar;
  const std::string input(reinterpret_cast<const char*>(data), size);
  // Three values separated by NUL bytes: kind, repeat, file.
  std::string parts[3];
  std::size_t part = 0;
  for (char c : input) {
    if (c == '\0' && part < 2) {
      ++part;
      continue;
    }
    parts[part] += c;
  }
  testing::CallLog log;
  testing::FakeProcess process(log);
  testing::FakeProfileFile profile(log);
  const std::string ini = IniFilePath(process.program_directory);
  profile.values[{ini, "Section", std::string(kKeyMusicKind)}] = parts[0];
  profile.values[{ini, "Section", std::string(kKeyRepeatTrack)}] = parts[1];
  profile.values[{ini, "Section", std::string(kKeyMusicFile)}] = parts[2];
  if (!parts[2].empty() && (parts[2][0] & 1))
    process.readable_files.insert(parts[2].substr(0, 255));
  SettingsStore store(profile, process);
  SettingsRecord record;
  store.LoadSettings(record);
  if (record.MusicKind == 2 && record.MusicFile.empty()) std::abort();
  if (record.MusicFile.size() > 255) std::abort();
  return 0;
}
