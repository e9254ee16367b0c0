// Functions of system libraries bound at their first call.
#include "runtime/win32/system_function.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace tolvenar::win32 {
namespace {

TEST(SystemFunction, BindsWhatExistsAndNothingElse) {
  using GetTickCountFunction = DWORD(WINAPI*)();
  const auto tick_count = SystemFunction<GetTickCountFunction>("kernel32.dll", "GetTickCount");
  ASSERT_NE(tick_count, nullptr);
  EXPECT_GT(tick_count(), 0u);
  EXPECT_NE((SystemFunction<FARPROC>("winmm.dll", "mciSendStringA")), nullptr);
  EXPECT_EQ((SystemFunction<FARPROC>("winmm.dll", "NoSuchFunction")), nullptr);
  EXPECT_EQ((SystemFunction<FARPROC>("no-such-library.dll", "mciSendStringA")), nullptr);
}

}  // namespace
}  // namespace tolvenar::win32
