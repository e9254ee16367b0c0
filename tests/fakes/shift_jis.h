#pragma once
// The code page 932 bytes of a UTF-8 text, converted by the C library, independently of the code
// under test (native tests only: the Windows tool chain has no iconv).
#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

namespace tolvenar::testing {

inline std::string ShiftJis(const std::string& utf8) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1));
  std::string in = utf8;
  std::string out(in.size() * 2, '\0');
  char* in_ptr = in.data();
  char* out_ptr = out.data();
  std::size_t in_left = in.size();
  std::size_t out_left = out.size();
  EXPECT_NE(iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left), static_cast<std::size_t>(-1));
  iconv_close(cd);
  out.resize(out.size() - out_left);
  return out;
}

}  // namespace tolvenar::testing
