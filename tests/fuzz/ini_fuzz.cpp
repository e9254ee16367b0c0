// Any file as the INI file: reads give a value within the buffer; in a file without NUL bytes a
// write keeps every other value readable as it was and the written value reads back. (A NUL cuts a
// name as the platform reads it, and the platform's own rewrite does not keep such names: damaged
// files follow the platform there.)
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "runtime/ini_profile_file.h"
#include "startup/settings.h"

namespace {

const std::string& ScratchFile() {
  static const std::string path = "/tmp/tolvenar-ini-fuzz-" + std::to_string(getpid()) + ".ini";
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tolvenar;
  const std::string& file = ScratchFile();
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  IniProfileFile ini;
  const std::string section(kIniSection);
  const std::string keys[] = {std::string(kKeyMusicKind), std::string(kKeyRepeatTrack), "other"};
  std::string before[3];
  for (int i = 0; i < 3; ++i) {
    before[i] = ini.GetString(section, keys[i], "", 256, file);
    if (before[i].size() > 255) std::abort();
  }
  const bool has_nul = std::memchr(data, 0, size) != nullptr;
  if (ini.WriteString(section, std::string(kKeyMusicFile), "C:\\Music\\night.mp3", file) &&
      !has_nul) {
    if (ini.GetString(section, std::string(kKeyMusicFile), "", 256, file) != "C:\\Music\\night.mp3")
      std::abort();
    for (int i = 0; i < 3; ++i) {
      if (ini.GetString(section, keys[i], "", 256, file) != before[i]) std::abort();
    }
  }
  std::remove(file.c_str());
  return 0;
}
