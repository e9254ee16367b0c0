// Any file as the INI file: reads give a value within the buffer; in a file without NUL bytes or
// nameless section headers a write keeps every other value readable as it was and the written value
// reads back. (A NUL cuts a name as the platform reads it, and the platform's own rewrite does not
// keep such names; it writes no "[]" header either, so the entries under one join the section
// before it: damaged files follow the platform there.)
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <string_view>

#include "runtime/emulation/ini_profile_file.h"
#include "settings/settings_store.h"

namespace {

const std::string& ScratchFile() {
  static const std::string path = "/tmp/tolvenar-ini-fuzz-" + std::to_string(getpid()) + ".ini";
  return path;
}

bool IsBlank(char c) { return (c >= '\t' && c <= '\r') || c == '\x1a' || c == ' '; }

// True when some line, blanks aside, opens with "[" and "]": every header without a name does.
bool HasNamelessHeader(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  bool line_start = true;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      line_start = true;
    } else if (line_start && c == '[') {
      std::size_t next = i + 1;
      while (next < text.size() && IsBlank(text[next]) && text[next] != '\r' && text[next] != '\n')
        ++next;
      if (next < text.size() && text[next] == ']') return true;
      line_start = false;
    } else if (!IsBlank(c)) {
      line_start = false;
    }
  }
  return false;
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
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const bool damaged = text.find('\0') != std::string_view::npos || HasNamelessHeader(text);
  if (ini.WriteString(section, std::string(kKeyMusicFile), "C:\\Music\\night.mp3", file) &&
      !damaged) {
    if (ini.GetString(section, std::string(kKeyMusicFile), "", 256, file) != "C:\\Music\\night.mp3")
      std::abort();
    for (int i = 0; i < 3; ++i) {
      if (ini.GetString(section, keys[i], "", 256, file) != before[i]) std::abort();
    }
  }
  std::remove(file.c_str());
  return 0;
}
