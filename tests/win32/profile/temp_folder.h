#pragma once
// A fresh folder under the temporary folder for one test, removed with its files at the end; and
// small helpers for file bytes.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace tolvenar::win32::testing {

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

inline void Put(const std::string& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline bool Exists(const std::string& file) {
  return GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline std::string Get(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Printable form of bytes for failure messages.
inline std::string Show(const std::string& bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string shown;
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b == '\r') {
      shown += "\\r";
    } else if (b == '\n') {
      shown += "\\n";
    } else if (b < 0x20 || b >= 0x7f) {
      shown += "\\x";
      shown += kHex[b >> 4];
      shown += kHex[b & 15];
    } else {
      shown += c;
    }
  }
  return shown;
}

}  // namespace tolvenar::win32::testing
