#pragma once
// A fresh folder under the temporary folder for one test, removed with its files at the end; and
// small helpers for file bytes.
#include <windows.h>

#include "fakes/file_bytes.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace tolvenar::win32::testing {

// The program's three keys (code page 932 bytes).
inline const std::string kMusicKind = "BGM\x8B\xE6\x95\xAA";
inline const std::string kRepeatTrack = "BGM\xD8\xCB\xDF\xB0\xC4";
inline const std::string kMusicFile = "BGM\xCC\xA7\xB2\xD9";

class TempFolder {
 public:
  TempFolder() {
    char base[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, base);
    path_ = std::string(base) + "tolvenar_profile_" + std::to_string(GetCurrentProcessId()) + "_" +
            std::to_string(GetTickCount());
    for (int attempt = 0; !CreateDirectoryA(path_.c_str(), nullptr) && attempt < 100; ++attempt) {
      path_ += "x";
    }
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The full path of `name` in the folder, with the platform's separator.
  std::string File(const std::string& name) const { return path_ + "\\" + name; }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

inline bool Exists(const std::string& file) {
  return GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES;
}

using tolvenar::testing::Get;
using tolvenar::testing::Put;
using tolvenar::testing::Show;

}  // namespace tolvenar::win32::testing
