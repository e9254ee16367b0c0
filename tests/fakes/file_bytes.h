#pragma once
// Whole-file bytes for tests, and a printable form of bytes for failure messages.
#include <fstream>
#include <iterator>
#include <string>

namespace tolvenar::testing {

inline void Put(const std::string& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string Get(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

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

}  // namespace tolvenar::testing
